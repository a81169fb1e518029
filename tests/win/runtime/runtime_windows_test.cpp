// The fourteen windows as CreateWindows makes them and LayoutWindows places
// them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>

#include "app/windows.h"
#include "tests/win/runtime/runtime_fixture.h"

namespace {

struct ChildExpectation {
    HWND* handle;
    const char* className;
    const char* text;
    LONG style;
    int id;
};

std::string ClassOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

std::string TextOf(HWND window) {
    char text[256] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

TEST(CreateWindows, MainWindowHasItsCaptionStyleAndNoParent) {
    BuildInstallerWindow();
    ASSERT_NE(MainWindow, nullptr);
    EXPECT_EQ(ClassOf(MainWindow), "MAIN");
    EXPECT_EQ(TextOf(MainWindow), "Software Installation Utility");
    // The system adds WS_CLIPSIBLINGS to every top-level window.
    DWORD style = static_cast<DWORD>(GetWindowLongA(MainWindow, GWL_STYLE));
    EXPECT_EQ(style & 0xFFFF0000u & ~static_cast<DWORD>(WS_CLIPSIBLINGS), 0x90C80000u);
    EXPECT_EQ(GetWindowLongA(MainWindow, GWL_EXSTYLE) & (WS_EX_DLGMODALFRAME | WS_EX_TOPMOST),
              WS_EX_DLGMODALFRAME | WS_EX_TOPMOST);
    EXPECT_EQ(GetParent(MainWindow), nullptr);
}

TEST(CreateWindows, ChildrenHaveTheirClassTextStyleAndId) {
    BuildInstallerWindow();
    const ChildExpectation children[] = {
        {&LogoWindow, "LOGO", "", 0x50000000, 0},
        {&DescriptionText, "Static", nullptr, 0x50000001, 0},  // the intro text comes later
        {&OsText, "Static", "Operating System", 0x50000001, 0},
        {&ArchitectureText, "Static", "Architecture", 0x50000001, 0},
        {&WarningText, "Static", "You may need to disable your antivirus before proceeding.",
         0x50000001, 0},
        {&StatusText, "Static", "", 0x50000001, 0},
        {&MessageText, "Static", "", 0x50000001, 0},
        {&FolderText, "Static", "", 0x40000001, 0},
        {&UnpackProgress, "msctls_progress32", "", 0x50000000, 0x404},
        {&CopyProgress, "msctls_progress32", "", 0x40000000, 0x404},
        {&InstallButton, "Button", "install in this folder", 0x40000000, 0x401},
        {&SelectButton, "Button", "select another folder", 0x40000000, 0x402},
        {&ExitButton, "Button", "Exit", 0x40000000, 0x404},
    };
    for (const ChildExpectation& c : children) {
        HWND window = *c.handle;
        ASSERT_NE(window, nullptr) << c.className;
        SCOPED_TRACE(ClassOf(window) + " \"" + TextOf(window) + "\"");
        EXPECT_STRCASEEQ(ClassOf(window).c_str(), c.className);
        if (c.text) EXPECT_EQ(TextOf(window), c.text);
        // Classes may add their own low bits; the ones asked for must be there
        // and no more of the high ones.
        DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        EXPECT_EQ(style & 0xFFFF0000u, static_cast<DWORD>(c.style) & 0xFFFF0000u);
        EXPECT_EQ(style & 0x0000000Fu, static_cast<DWORD>(c.style) & 0x0000000Fu);
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
        EXPECT_EQ(GetDlgCtrlID(window), c.id);
        EXPECT_EQ(GetParent(window), MainWindow);
    }
}

TEST(CreateWindows, ChildrenAreInCreationOrder) {
    BuildInstallerWindow();
    const HWND order[] = {LogoWindow,   DescriptionText, OsText,         ArchitectureText,
                          WarningText,  StatusText,      MessageText,    FolderText,
                          UnpackProgress, CopyProgress,  InstallButton,  SelectButton,
                          ExitButton};
    HWND child = GetWindow(MainWindow, GW_CHILD);
    for (HWND expected : order) {
        ASSERT_EQ(child, expected);
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr);
}

RECT ChildRect(HWND window) {
    RECT rect;
    GetWindowRect(window, &rect);
    MapWindowPoints(HWND_DESKTOP, MainWindow, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

TEST(LayoutWindows, WindowIsSizedFromTheLogoAndCentred) {
    BuildInstallerWindow();
    RECT window;
    GetWindowRect(MainWindow, &window);
    EXPECT_EQ(window.right - window.left, 480);
    EXPECT_EQ(window.bottom - window.top, 108 + 188);
    EXPECT_EQ(window.left, (GetSystemMetrics(SM_CXSCREEN) - 480) / 2);
    EXPECT_EQ(window.top, (GetSystemMetrics(SM_CYSCREEN) - 296) / 2);
}

TEST(LayoutWindows, LogoPaneAndIntroTextSitSideBySide) {
    BuildInstallerWindow();
    RECT client;
    GetClientRect(MainWindow, &client);
    RECT logo = ChildRect(LogoWindow);
    EXPECT_EQ(logo.left, 8);
    EXPECT_EQ(logo.top, 8);
    EXPECT_EQ(logo.right, 8 + 166);
    EXPECT_EQ(logo.bottom, 8 + 114);
    RECT description = ChildRect(DescriptionText);
    EXPECT_EQ(description.left, 182);
    EXPECT_EQ(description.top, 8);
    EXPECT_EQ(description.right, client.right - 8);
    EXPECT_EQ(description.bottom, 8 + 114);
}

TEST(LayoutWindows, RowsAreOneLineApartAndShareTheFolderPlace) {
    BuildInstallerWindow();
    const HWND rows[] = {WarningText, OsText, ArchitectureText, StatusText,
                         UnpackProgress, MessageText, CopyProgress};
    RECT first = ChildRect(rows[0]);
    int lineHeight = first.bottom - first.top;
    EXPECT_GT(lineHeight, 0);
    EXPECT_EQ(first.top, 108 + 16);
    for (int i = 0; i < 7; ++i) {
        RECT row = ChildRect(rows[i]);
        EXPECT_EQ(row.top, 124 + i * (lineHeight + 2)) << i;
        EXPECT_EQ(row.bottom - row.top, lineHeight) << i;
        EXPECT_EQ(row.left, 8) << i;
    }
    RECT folder = ChildRect(FolderText);
    RECT bar = ChildRect(UnpackProgress);
    EXPECT_TRUE(EqualRect(&folder, &bar));
}

TEST(LayoutWindows, ButtonsAreCentredBelowTheRows) {
    BuildInstallerWindow();
    RECT client;
    GetClientRect(MainWindow, &client);
    RECT install = ChildRect(InstallButton);
    RECT select = ChildRect(SelectButton);
    RECT exit = ChildRect(ExitButton);
    RECT seventh = ChildRect(CopyProgress);
    int lineHeight = seventh.bottom - seventh.top;
    EXPECT_EQ(install.top, seventh.top + 2);
    EXPECT_EQ(install.bottom - install.top, 3 * lineHeight / 2);
    EXPECT_EQ(exit.top, install.top);
    EXPECT_EQ(select.left, install.right + 8);
    // The pair and the Exit button are centred, to within the halving.
    int pairMargin = client.right - select.right - install.left;
    EXPECT_GE(pairMargin, 0);
    EXPECT_LE(pairMargin, 1);
    int exitMargin = client.right - exit.right - exit.left;
    EXPECT_GE(exitMargin, 0);
    EXPECT_LE(exitMargin, 1);
    // The labels are measured with two asterisks on each side.
    HDC dc = GetDC(MainWindow);
    SIZE label;
    GetTextExtentPoint32A(dc, "**Exit**", 8, &label);
    ReleaseDC(MainWindow, dc);
    EXPECT_EQ(exit.right - exit.left, label.cx);
}

}  // namespace
