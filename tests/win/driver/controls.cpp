#include "tests/win/driver/controls.h"

#include "tests/win/driver/installer.h"
#include "tests/win/driver/roles.h"

std::vector<HWND> ChildrenInCreationOrder(HWND window)
{
    // Child windows are linked at the bottom of the Z order when created, so
    // walking from the top gives creation order.
    std::vector<HWND> children;
    for (HWND child = GetWindow(window, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
        children.push_back(child);
    return children;
}

bool FindMainWindow(DWORD timeoutMs, std::string& error)
{
    if (Installer.mainWindow && IsWindow(Installer.mainWindow)) return true;
    if (!Installer.process) {
        error = "no installer was started";
        return false;
    }
    HWND found = nullptr;
    PollUntil(timeoutMs, [&] { return (found = FindInstallerWindow("MAIN", nullptr)) != nullptr; });
    if (!found) {
        error = "no \"MAIN\" window; " + DescribeInstaller();
        return false;
    }
    Installer.mainWindow = found;
    return true;
}

namespace {

bool ResolveRole(int index, HWND& control, std::string& error)
{
    std::vector<HWND> children;
    // The children appear one by one after the main window; give start-up a
    // moment to create all of them.
    PollUntil(5000, [&] {
        children = ChildrenInCreationOrder(Installer.mainWindow);
        return children.size() >= ChildRoleCount;
    });
    if (children.size() != ChildRoleCount) {
        error = "the main window has " + std::to_string(children.size()) + " children, not " +
                std::to_string(ChildRoleCount);
        return false;
    }
    control = children[index];
    return true;
}

} // namespace

bool ResolveControl(const std::string& name, HWND& control, std::string& error)
{
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    if (name == "MainWindow") {
        control = Installer.mainWindow;
        return true;
    }
    int role = ChildRoleIndex(name.c_str());
    if (role >= 0) return ResolveRole(role, control, error);
    for (HWND child : ChildrenInCreationOrder(Installer.mainWindow)) {
        if (WindowTextOf(child) == name) {
            control = child;
            return true;
        }
    }
    error = "no control named or showing " + Visible(name);
    return false;
}

RECT ChildRect(HWND child)
{
    RECT rect;
    GetWindowRect(child, &rect);
    MapWindowPoints(HWND_DESKTOP, GetParent(child), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}
