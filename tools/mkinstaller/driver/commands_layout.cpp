// The check of where the window and its children stand.
#include "tools/mkinstaller/driver/controls.h"
#include "tools/mkinstaller/driver/installer.h"
#include "tools/mkinstaller/driver/layout_expect.h"
#include "tools/mkinstaller/driver/resource_file.h"
#include "tools/mkinstaller/driver/steps.h"

#include <cstdio>
#include <cstring>

namespace {

int TextWidth(HDC dc, const char* text, int* height = nullptr)
{
    SIZE size{};
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    if (height) *height = size.cy;
    return size.cx;
}

// The text sizes as the installer measures them: on the main window's own
// device context, in its default font; the LOGO size from the executable.
bool GatherLayoutInput(LayoutInput& in, std::string& error)
{
    if (!ReadLogoSize(Installer.exePath, in.logoWidth, in.logoHeight, error)) return false;
    HDC dc = GetDC(Installer.mainWindow);
    TextWidth(dc, LayoutProbeText, &in.lineHeight);
    in.exitWidth = TextWidth(dc, "**Exit**");
    in.installWidth = TextWidth(dc, "**install in this folder**");
    in.selectWidth = TextWidth(dc, "**select another folder**");
    ReleaseDC(Installer.mainWindow, dc);
    RECT client;
    GetClientRect(Installer.mainWindow, &client);
    in.clientWidth = client.right;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    std::printf("screen %d x %d, logo %d x %d, LineHeight %d, ClientWidth %d, label widths %d %d %d\n",
                in.screenWidth, in.screenHeight, in.logoWidth, in.logoHeight, in.lineHeight, in.clientWidth,
                in.installWidth, in.selectWidth, in.exitWidth);
    return true;
}

// Compares one window's rectangle, printing it either way.
bool Compare(const char* role, const RECT& r, const LayoutRect& want)
{
    LayoutRect have{r.left, r.top, r.right - r.left, r.bottom - r.top};
    bool same = have.x == want.x && have.y == want.y && have.width == want.width && have.height == want.height;
    std::printf("layout: %-16s (%d, %d, %d x %d)", role, have.x, have.y, have.width, have.height);
    if (!same) std::printf(" WRONG, expected (%d, %d, %d x %d)", want.x, want.y, want.width, want.height);
    std::printf("\n");
    return same;
}

} // namespace

bool StepCheckLayout(const Step&, std::string& error)
{
    LayoutInput in{};
    std::vector<HWND> children;
    if (!AllChildren(children, error) || !GatherLayoutInput(in, error)) return false;
    RECT window;
    GetWindowRect(Installer.mainWindow, &window);
    int wrong = Compare("MainWindow", window, ExpectedMainWindow(in)) ? 0 : 1;
    LayoutRect expected[LayoutChildCount];
    ExpectedChildren(in, expected);
    for (int i = 0; i < ChildRoleCount; ++i)
        wrong += Compare(ChildRoleNames[i], ChildRect(children[i]), expected[i]) ? 0 : 1;
    if (wrong == 0) return true;
    error = std::to_string(wrong) + " window(s) out of place for LineHeight " + std::to_string(in.lineHeight) +
            " and ClientWidth " + std::to_string(in.clientWidth);
    return false;
}
