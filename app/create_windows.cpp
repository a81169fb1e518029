#include "state/window.h"
#include "app/startup.h"
#include "common/layout_math.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

namespace {

struct ChildWindow {
    HWND* handle;
    const char* className;
    const char* text;
    DWORD style;
    int id;
    int fatalCode;
    const char* failure;
};

const DWORD VisibleText = WS_CHILD | WS_VISIBLE | SS_CENTER;  // 0x50000001
const DWORD HiddenText = WS_CHILD | SS_CENTER;                // 0x40000001
const DWORD VisibleChild = WS_CHILD | WS_VISIBLE;             // 0x50000000
const DWORD HiddenBar = WS_CHILD;                             // 0x40000000
const DWORD HiddenButton = WS_CHILD | BS_PUSHBUTTON;          // 0x40000000

const char TextFailure[] = "can't create text window";
const char BarFailure[] = "can't create progress bar";

// Creation order matters: it is the children's Z order and the order of the
// fatal codes.
const ChildWindow Children[] = {
    {&LogoWindow, "LOGO", NULL, VisibleChild, 0, FatalCreateLogoWindow, "can't create logo window"},
    {&DescriptionText, "STATIC", "", VisibleText, 0, FatalCreateDescription, TextFailure},
    {&OsText, "STATIC", "Operating System", VisibleText, 0, FatalCreateOsText, TextFailure},
    {&ArchitectureText, "STATIC", "Architecture", VisibleText, 0, FatalCreateArchitectureText, TextFailure},
    {&WarningText, "STATIC", "You may need to disable your antivirus before proceeding.", VisibleText, 0,
     FatalCreateWarningText, TextFailure},
    {&StatusText, "STATIC", "", VisibleText, 0, FatalCreateStatusText, TextFailure},
    {&MessageText, "STATIC", "", VisibleText, 0, FatalCreateMessageText, TextFailure},
    {&FolderText, "STATIC", "", HiddenText, 0, FatalCreateFolderText, TextFailure},
    // Both bars share the Exit button's ID; nothing looks a control up by ID.
    {&UnpackProgress, "msctls_progress32", NULL, VisibleChild, IDC_EXIT, FatalCreateUnpackProgress, BarFailure},
    {&CopyProgress, "msctls_progress32", NULL, HiddenBar, IDC_EXIT, FatalCreateCopyProgress, BarFailure},
    {&InstallButton, "BUTTON", "install in this folder", HiddenButton, IDC_INSTALL, FatalCreateInstallButton,
     TextFailure},
    {&SelectButton, "BUTTON", "select another folder", HiddenButton, IDC_SELECT, FatalCreateSelectButton, TextFailure},
    {&ExitButton, "BUTTON", "Exit", HiddenButton, IDC_EXIT, FatalCreateExitButton, TextFailure},
};

void CreateMainWindow() {
    MainWindow = CreateWindowExA(WS_EX_DLGMODALFRAME | WS_EX_TOPMOST, "MAIN", "Software Installation Utility",
                                 WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU, 0, 0, MainWindowWidth, 320, NULL,
                                 NULL, AppInstance, NULL);
    if (MainWindow == NULL) {
        AbortWithLastError(FatalCreateMainWindow, "can't create main window");
    }
}

void CreateChild(const ChildWindow& child) {
    // Children start at (0, 0) with no size; LayoutWindows places them.
    *child.handle = CreateWindowExA(0, child.className, child.text, child.style, 0, 0, 0, 0, MainWindow,
                                    reinterpret_cast<HMENU>(child.id), AppInstance, NULL);
    if (*child.handle == NULL) {
        AbortWithLastError(child.fatalCode, child.failure);
    }
}

}  // namespace

void CreateWindows() {
    CreateMainWindow();
    for (const ChildWindow& child : Children) CreateChild(child);
}
