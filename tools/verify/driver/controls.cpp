#include "tools/verify/driver/controls.h"

#include "tools/verify/driver/installer.h"

const char* const ChildRoleNames[ChildRoleCount] = {
    "LogoWindow", "DescriptionText", "OsText",       "ArchitectureText", "WarningText",  "StatusText", "MessageText",
    "FolderText", "UnpackProgress",  "CopyProgress", "InstallButton",    "SelectButton", "ExitButton",
};

namespace {

std::vector<HWND> ChildrenInCreationOrder(HWND window) {
    // Child windows are linked at the bottom of the Z order when created, so
    // walking from the top gives creation order.
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

}  // namespace

bool FindMainWindow(DWORD timeoutMs, std::string& error) {
    if (Installer.mainWindow && IsWindow(Installer.mainWindow)) return true;
    PollUntil(timeoutMs, [&] { return (Installer.mainWindow = FindInstallerWindow("MAIN", nullptr)) != nullptr; });
    if (!Installer.mainWindow) error = "no \"MAIN\" window" + DescribeInstaller();
    return Installer.mainWindow != nullptr;
}

bool AllChildren(std::vector<HWND>& children, std::string& error) {
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    // Start-up creates the children one by one right after the main window.
    if (PollUntil(5000, [&] {
            children = ChildrenInCreationOrder(Installer.mainWindow);
            return children.size() == ChildRoleCount;
        }))
        return true;
    error =
        "the main window has " + std::to_string(children.size()) + " children, not " + std::to_string(ChildRoleCount);
    return false;
}

bool ResolveControl(const std::string& name, HWND& control, std::string& error) {
    std::vector<HWND> children;
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    control = Installer.mainWindow;
    if (name == "MainWindow") return true;
    if (!AllChildren(children, error)) return false;
    for (int i = 0; i < ChildRoleCount; ++i) {
        if (name == ChildRoleNames[i] || name == WindowTextOf(children[i])) {
            control = children[i];
            return true;
        }
    }
    error = "no control named or showing " + Visible(name);
    return false;
}

RECT ChildRect(HWND child) {
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
