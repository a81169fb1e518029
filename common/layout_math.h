// Window and control rectangles of the installer's one window, as pure
// arithmetic on the logo size, the screen and the measured text sizes.
// Portable: no Win32, so the layout is tested natively.
#pragma once

struct LayoutRect {
    int x;
    int y;
    int width;
    int height;
};

enum {
    MainWindowWidth = 480,
    // Below the logo: the rows, the buttons and the caption and frame.
    MainWindowHeightBelowLogo = 188,
};

// Every printable ASCII character but the blank and the double quote: its
// height is the line height of the default font.
extern const char LineProbe[];

// The main window: MainWindowWidth wide, the logo height plus
// MainWindowHeightBelowLogo high, centred on the screen.
LayoutRect MainWindowRect(int logoHeight, int screenWidth, int screenHeight);

struct LayoutMeasures {
    int logoWidth;
    int logoHeight;
    int clientWidth;  // right edge of the main window's client area once sized
    int lineHeight;   // height of one line of the default font
    int exitWidth;    // the three button labels, each measured with "**" around it
    int installWidth;
    int selectWidth;
};

struct ChildLayout {
    LayoutRect logo;
    LayoutRect description;
    LayoutRect warning;
    LayoutRect os;
    LayoutRect architecture;
    LayoutRect status;
    LayoutRect unpackProgress;
    LayoutRect folder;  // shares its place with unpackProgress
    LayoutRect message;
    LayoutRect copyProgress;
    LayoutRect install;
    LayoutRect select;
    LayoutRect exit;
};

ChildLayout ComputeChildLayout(const LayoutMeasures& measures);

// The description's text, beside the logo pane: its width and height.
int DescriptionWidth(int logoWidth, int clientWidth);
int DescriptionHeight(int logoHeight);
