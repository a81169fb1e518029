// Where the installer's window and its thirteen children must stand, computed
// from the logo size, the measured text sizes and the screen. Kept apart from
// Win32 so the arithmetic can be checked on its own.
#pragma once

struct LayoutInput {
    int logoWidth;    // biWidth of the LOGO bitmap
    int logoHeight;   // biHeight of the LOGO bitmap
    int lineHeight;   // cy of the probe string on the main window's DC
    int clientWidth;  // right edge of the main window's client rectangle
    int exitWidth;    // cx of "**Exit**"
    int installWidth; // cx of "**install in this folder**"
    int selectWidth;  // cx of "**select another folder**"
    int screenWidth;
    int screenHeight;
};

struct LayoutRect {
    int x, y, width, height;
};

enum { LayoutChildCount = 13 };

// The main window's rectangle in screen coordinates.
LayoutRect ExpectedMainWindow(const LayoutInput& in);

// The children's rectangles in client coordinates, in creation order
// (the order of ChildRoleNames).
void ExpectedChildren(const LayoutInput& in, LayoutRect out[LayoutChildCount]);

// The text whose height is the line height: printable ASCII without the
// space and the double quote.
extern const char LayoutProbeText[];
