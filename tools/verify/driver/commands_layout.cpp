// The check of where the window and its children stand.
#include "common/layout_math.h"
#include "tools/verify/driver/controls.h"
#include "tools/verify/driver/installer.h"
#include "tools/verify/driver/resource_file.h"
#include "tools/verify/driver/steps.h"

#include <cstdio>
#include <cstring>

namespace {

struct LayoutInput {
    LayoutMeasures measures;
    int screenWidth;
    int screenHeight;
};

int TextWidth(HDC dc, const char* text, int* height = nullptr) {
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    if (height) *height = size.cy;
    return size.cx;
}

// The text sizes as the installer measures them: on the main window's own
// device context, in its default font; the LOGO size from the executable.
bool GatherLayoutInput(LayoutInput& in, std::string& error) {
    LayoutMeasures& m = in.measures;
    if (!ReadLogoSize(Installer.exePath, m.logoWidth, m.logoHeight, error)) return false;
    HDC dc = GetDC(Installer.mainWindow);
    TextWidth(dc, LineProbe, &m.lineHeight);
    m.exitWidth = TextWidth(dc, "**Exit**");
    m.installWidth = TextWidth(dc, "**install in this folder**");
    m.selectWidth = TextWidth(dc, "**select another folder**");
    ReleaseDC(Installer.mainWindow, dc);
    RECT client;
    GetClientRect(Installer.mainWindow, &client);
    m.clientWidth = client.right;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::printf("screen %d x %d, logo %d x %d, LineHeight %d, ClientWidth %d, label widths %d %d %d\n", in.screenWidth,
                in.screenHeight, m.logoWidth, m.logoHeight, m.lineHeight, m.clientWidth, m.installWidth, m.selectWidth,
                m.exitWidth);
    return true;
}

// Compares one window's rectangle, printing it either way.
bool Compare(const char* role, const RECT& r, const LayoutRect& want) {
    LayoutRect have{r.left, r.top, r.right - r.left, r.bottom - r.top};
    bool same = have.x == want.x && have.y == want.y && have.width == want.width && have.height == want.height;
    std::printf("layout: %-16s (%d, %d, %d x %d)", role, have.x, have.y, have.width, have.height);
    if (!same) std::printf(" WRONG, expected (%d, %d, %d x %d)", want.x, want.y, want.width, want.height);
    std::printf("\n");
    return same;
}

// The children's rectangles in creation order (the order of ChildRoleNames).
std::vector<LayoutRect> ExpectedChildren(const LayoutMeasures& m) {
    ChildLayout c = ComputeChildLayout(m);
    return {c.logo,   c.description,    c.os,           c.architecture, c.warning, c.status, c.message,
            c.folder, c.unpackProgress, c.copyProgress, c.install,      c.select,  c.exit};
}

// The description's text, wrapped as its centred static control wraps it,
// is no taller than the control: every line of it shows.
bool DescriptionShowsWhole(HWND description) {
    char text[1024];
    GetWindowTextA(description, text, sizeof text);
    RECT room;
    GetClientRect(description, &room);
    RECT needed = room;
    HDC dc = GetDC(description);
    HGDIOBJ previous = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageA(description, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text, -1, &needed, DT_CALCRECT | DT_WORDBREAK | DT_CENTER | DT_EXPANDTABS);
    SelectObject(dc, previous);
    ReleaseDC(description, dc);
    const bool whole = needed.bottom <= room.bottom && needed.right <= room.right;
    std::printf("layout: description text needs %ld x %ld of %ld x %ld%s\n", needed.right, needed.bottom, room.right,
                room.bottom, whole ? "" : " CUT");
    return whole;
}

// The smallest screen a product is made for.
constexpr int SmallestScreenHeight = 600;

}  // namespace

bool StepCheckLayout(const Step&, std::string& error) {
    LayoutInput in{};
    std::vector<HWND> children;
    if (!AllChildren(children, error) || !GatherLayoutInput(in, error)) return false;
    RECT window;
    GetWindowRect(Installer.mainWindow, &window);
    LayoutRect expectedWindow = MainWindowRect(in.measures.logoHeight, in.screenWidth, in.screenHeight);
    int wrong = Compare("MainWindow", window, expectedWindow) ? 0 : 1;
    std::vector<LayoutRect> expected = ExpectedChildren(in.measures);
    for (int i = 0; i < ChildRoleCount; ++i)
        wrong += Compare(ChildRoleNames[i], ChildRect(children[i]), expected[i]) ? 0 : 1;
    if (window.bottom - window.top > SmallestScreenHeight) {
        error = "the window is " + std::to_string(window.bottom - window.top) + " pixels high, more than 600";
        return false;
    }
    if (!DescriptionShowsWhole(children[1])) {  // DescriptionText, second in creation order
        error = "the description's text does not show whole";
        return false;
    }
    if (wrong == 0) return true;
    error = std::to_string(wrong) + " window(s) out of place for LineHeight " + std::to_string(in.measures.lineHeight) +
            " and ClientWidth " + std::to_string(in.measures.clientWidth);
    return false;
}
