// The fourteen windows as CreateWindows makes them, built once as start-up
// builds them, with this program's logo. Their layout is checked on the real
// window by the driver's check-layout (window.layout).
#include <gtest/gtest.h>
#include <windows.h>
#include <commctrl.h>

#include <string>

#include "state/product.h"
#include "state/window.h"
#include "app/startup.h"
#include "system/dll_search.h"

namespace {

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}

class InstallerWindow : public ::testing::Test {
protected:
    static void SetUpTestSuite() {
        AppInstance = GetModuleHandleA(NULL);
        LogoBitmap = reinterpret_cast<const BITMAPINFOHEADER*>(GetResource("LOGO", 2).bytes);
        HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
        RegisterWindowClass("MAIN", MainWndProc, grey, IDC_ARROW, 0);
        RegisterWindowClass("LOGO", LogoWndProc, grey, IDC_ARROW, 0);
        LoadCommonControls();
        CreateWindows();
        DrainMessages();
    }
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

TEST_F(InstallerWindow, MainWindowHasItsCaptionStyleAndNoParent) {
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

TEST_F(InstallerWindow, ChildrenHaveTheirClassTextStyleAndIdInCreationOrder) {
    const struct {
        HWND* handle;
        const char* className;
        const char* text;  // null: set later
        DWORD style;
        int id;
    } children[] = {
        {&LogoWindow, "LOGO", "", 0x50000000, 0},
        {&DescriptionText, "Static", nullptr, 0x50000001, 0},
        {&OsText, "Static", "Operating System", 0x50000001, 0},
        {&ArchitectureText, "Static", "Architecture", 0x50000001, 0},
        {&WarningText, "Static", "You may need to disable your antivirus before proceeding.", 0x50000001, 0},
        {&StatusText, "Static", "", 0x50000001, 0},
        {&MessageText, "Static", "", 0x50000001, 0},
        {&FolderText, "Static", "", 0x40000001, 0},
        {&UnpackProgress, "msctls_progress32", "", 0x50000000, 0x404},
        {&CopyProgress, "msctls_progress32", "", 0x40000000, 0x404},
        {&InstallButton, "Button", "install in this folder", 0x40000000, 0x401},
        {&SelectButton, "Button", "select another folder", 0x40000000, 0x402},
        {&ExitButton, "Button", "Exit", 0x40000000, 0x404},
    };
    HWND next = GetWindow(MainWindow, GW_CHILD);
    for (const auto& c : children) {
        HWND window = *c.handle;
        SCOPED_TRACE(ClassOf(window) + " \"" + TextOf(window) + "\"");
        ASSERT_EQ(window, next) << "not in creation order";
        next = GetWindow(window, GW_HWNDNEXT);
        EXPECT_STRCASEEQ(ClassOf(window).c_str(), c.className);
        if (c.text) { EXPECT_EQ(TextOf(window), c.text); }
        // Classes may add their own low bits; the ones asked for must be there
        // and no more of the high ones.
        DWORD style = static_cast<DWORD>(GetWindowLongA(window, GWL_STYLE));
        EXPECT_EQ(style & 0xFFFF000Fu, c.style);
        EXPECT_EQ(GetWindowLongA(window, GWL_EXSTYLE) & ~WS_EX_NOPARENTNOTIFY, 0);
        EXPECT_EQ(GetDlgCtrlID(window), c.id);
    }
    EXPECT_EQ(next, nullptr);
}

}  // namespace
