// Steps that report and check where the window and its children stand.
#include "tests/win/driver/commands.h"
#include "tests/win/driver/controls.h"
#include "tests/win/driver/installer.h"
#include "tests/win/driver/layout_expect.h"
#include "tests/win/driver/resource_file.h"
#include "tests/win/driver/roles.h"

#include <windows.h>

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
// device context, in its default font.
bool MeasureText(LayoutInput& in, std::string& error)
{
    HDC dc = GetDC(Installer.mainWindow);
    if (!dc) {
        error = "GetDC of the main window failed";
        return false;
    }
    TextWidth(dc, LayoutProbeText, &in.lineHeight);
    in.exitWidth = TextWidth(dc, "**Exit**");
    in.installWidth = TextWidth(dc, "**install in this folder**");
    in.selectWidth = TextWidth(dc, "**select another folder**");
    ReleaseDC(Installer.mainWindow, dc);
    return true;
}

bool GatherLayoutInput(LayoutInput& in, std::string& error)
{
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    if (!ReadLogoSize(Installer.exePath, in.logoWidth, in.logoHeight, error)) return false;
    if (!MeasureText(in, error)) return false;
    RECT client;
    GetClientRect(Installer.mainWindow, &client);
    in.clientWidth = client.right;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    return true;
}

LayoutRect FromRect(const RECT& r) { return {r.left, r.top, r.right - r.left, r.bottom - r.top}; }

bool Same(const LayoutRect& a, const LayoutRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::string Describe(const LayoutRect& r)
{
    char text[80];
    std::snprintf(text, sizeof text, "(%d, %d, %d x %d)", r.x, r.y, r.width, r.height);
    return text;
}

bool Children(std::vector<HWND>& children, std::string& error)
{
    if (PollUntil(5000, [&] {
            children = ChildrenInCreationOrder(Installer.mainWindow);
            return children.size() == ChildRoleCount;
        }))
        return true;
    error = "the main window has " + std::to_string(children.size()) + " children, not " +
            std::to_string(ChildRoleCount);
    return false;
}

} // namespace

bool StepRects(const Step&, std::string& error)
{
    LayoutInput in{};
    std::vector<HWND> children;
    if (!GatherLayoutInput(in, error) || !Children(children, error)) return false;
    RECT window;
    GetWindowRect(Installer.mainWindow, &window);
    std::printf("screen %d x %d, logo %d x %d, LineHeight %d, ClientWidth %d\n", in.screenWidth, in.screenHeight,
                in.logoWidth, in.logoHeight, in.lineHeight, in.clientWidth);
    std::printf("text widths: exit %d, install %d, select %d\n", in.exitWidth, in.installWidth, in.selectWidth);
    std::printf("%-16s %s\n", "MainWindow", Describe(FromRect(window)).c_str());
    for (int i = 0; i < ChildRoleCount; ++i) {
        bool visible = (GetWindowLongA(children[i], GWL_STYLE) & WS_VISIBLE) != 0;
        std::printf("%-16s %s %s%s\n", ChildRoleNames[i], Describe(FromRect(ChildRect(children[i]))).c_str(),
                    ClassNameOf(children[i]).c_str(), visible ? " visible" : "");
    }
    return true;
}

bool StepCheckLayout(const Step&, std::string& error)
{
    LayoutInput in{};
    std::vector<HWND> children;
    if (!GatherLayoutInput(in, error) || !Children(children, error)) return false;
    int wrong = 0;
    auto compare = [&](const char* role, const LayoutRect& have, const LayoutRect& want) {
        if (Same(have, want)) return;
        std::printf("layout: %s is %s, expected %s\n", role, Describe(have).c_str(), Describe(want).c_str());
        ++wrong;
    };
    RECT window;
    GetWindowRect(Installer.mainWindow, &window);
    compare("MainWindow", FromRect(window), ExpectedMainWindow(in));
    LayoutRect expected[LayoutChildCount];
    ExpectedChildren(in, expected);
    for (int i = 0; i < ChildRoleCount; ++i)
        compare(ChildRoleNames[i], FromRect(ChildRect(children[i])), expected[i]);
    if (wrong == 0) return true;
    error = std::to_string(wrong) + " window(s) out of place for LineHeight " + std::to_string(in.lineHeight) +
            " and ClientWidth " + std::to_string(in.clientWidth);
    return false;
}
