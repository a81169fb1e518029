// Steps that look at the installer's window and its controls, and act on it
// the way a user would.
#include "tests/win/driver/commands.h"
#include "tests/win/driver/controls.h"
#include "tests/win/driver/installer.h"
#include "tests/win/driver/roles.h"

#include <windows.h>

namespace {

std::string UpperCase(std::string text)
{
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsButton(HWND control)
{
    return UpperCase(ClassNameOf(control)) == "BUTTON";
}

bool HasVisibleStyle(HWND control)
{
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

bool IsEnabledControl(HWND control)
{
    return IsWindowEnabled(control) != FALSE;
}

// Shared body of expect-X and wait-X: READ gives the current value as text,
// WANT is the expected one; TIMEOUT 0 checks once.
template <typename Read>
bool ExpectValue(const std::string& controlName, const char* what, const std::string& want, DWORD timeoutMs,
                 Read read, std::string& error)
{
    HWND control;
    if (!ResolveControl(controlName, control, error)) return false;
    std::string have;
    bool ok = PollUntil(timeoutMs, [&] {
        have = read(control);
        return have == want;
    });
    if (ok) return true;
    error = controlName + " " + what + " is " + Visible(have) + ", expected " + Visible(want);
    std::string state = DescribeInstaller();
    if (!state.empty()) error += "; " + state;
    return false;
}

std::string TextValue(HWND control) { return WindowTextOf(control); }
std::string VisibleValue(HWND control) { return HasVisibleStyle(control) ? "1" : "0"; }
std::string EnabledValue(HWND control) { return IsEnabledControl(control) ? "1" : "0"; }

bool TimeoutArg(const Step& step, int index, DWORD& timeoutMs, std::string& error)
{
    long value;
    if (!IntArg(step, index, value, error)) return false;
    timeoutMs = static_cast<DWORD>(value);
    return true;
}

bool FlagText(const Step& step, int index, std::string& text, std::string& error)
{
    bool flag;
    if (!FlagArg(step, index, flag, error)) return false;
    text = flag ? "1" : "0";
    return true;
}

} // namespace

bool StepWaitWindow(const Step& step, std::string& error)
{
    DWORD timeoutMs;
    if (!TimeoutArg(step, 2, timeoutMs, error)) return false;
    const std::string& className = step.args[0];
    const std::string title = UnescapeText(step.args[1]);
    HWND found = nullptr;
    PollUntil(timeoutMs, [&] { return (found = FindInstallerWindow(className.c_str(), title.c_str())) != nullptr; });
    if (!found) {
        error = "no window of class " + Visible(className) + " titled " + Visible(title);
        std::string state = DescribeInstaller();
        if (!state.empty()) error += "; " + state;
        return false;
    }
    if (className == "MAIN") Installer.mainWindow = found;
    return true;
}

bool StepExpectChildren(const Step& step, std::string& error)
{
    long expected;
    if (!IntArg(step, 0, expected, error)) return false;
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    // Start-up creates the children right after the main window appears.
    size_t count = 0;
    if (PollUntil(5000, [&] {
            count = ChildrenInCreationOrder(Installer.mainWindow).size();
            return static_cast<long>(count) == expected;
        }))
        return true;
    error = "the main window has " + std::to_string(count) + " children, expected " + std::to_string(expected);
    return false;
}

bool StepExpectText(const Step& step, std::string& error)
{
    return ExpectValue(step.args[0], "text", UnescapeText(step.args[1]), 0, TextValue, error);
}

bool StepWaitText(const Step& step, std::string& error)
{
    DWORD timeoutMs;
    return TimeoutArg(step, 2, timeoutMs, error) &&
           ExpectValue(step.args[0], "text", UnescapeText(step.args[1]), timeoutMs, TextValue, error);
}

// Window class names ignore case ("STATIC" is registered as "Static").
bool StepExpectClass(const Step& step, std::string& error)
{
    return ExpectValue(step.args[0], "class", UpperCase(step.args[1]), 0,
                       [](HWND control) { return UpperCase(ClassNameOf(control)); }, error);
}

bool StepExpectVisible(const Step& step, std::string& error)
{
    std::string want;
    return FlagText(step, 1, want, error) && ExpectValue(step.args[0], "visible", want, 0, VisibleValue, error);
}

bool StepWaitVisible(const Step& step, std::string& error)
{
    std::string want;
    DWORD timeoutMs;
    return FlagText(step, 1, want, error) && TimeoutArg(step, 2, timeoutMs, error) &&
           ExpectValue(step.args[0], "visible", want, timeoutMs, VisibleValue, error);
}

bool StepExpectEnabled(const Step& step, std::string& error)
{
    std::string want;
    return FlagText(step, 1, want, error) && ExpectValue(step.args[0], "enabled", want, 0, EnabledValue, error);
}

bool StepWaitEnabled(const Step& step, std::string& error)
{
    std::string want;
    DWORD timeoutMs;
    return FlagText(step, 1, want, error) && TimeoutArg(step, 2, timeoutMs, error) &&
           ExpectValue(step.args[0], "enabled", want, timeoutMs, EnabledValue, error);
}

// A user can only click a button that is shown and enabled; the click goes
// through the button itself, which then notifies the main window.
bool StepClick(const Step& step, std::string& error)
{
    HWND button;
    if (!ResolveControl(UnescapeText(step.args[0]), button, error)) return false;
    if (!IsButton(button)) {
        error = step.args[0] + " is a " + ClassNameOf(button) + ", not a button";
        return false;
    }
    if (!HasVisibleStyle(button) || !IsEnabledControl(button)) {
        error = "button " + Visible(step.args[0]) + " is " + (HasVisibleStyle(button) ? "disabled" : "hidden");
        return false;
    }
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

namespace {

// The button carrying ID, so the WM_COMMAND looks like one a button sends;
// the progress bars share the Exit button's ID and are skipped.
HWND ButtonWithId(long id)
{
    for (HWND child : ChildrenInCreationOrder(Installer.mainWindow))
        if (GetDlgCtrlID(child) == id && IsButton(child))
            return child;
    return nullptr;
}

} // namespace

bool StepSendCommand(const Step& step, std::string& error)
{
    long id = ParseControlId(step.args[0].c_str());
    long notification;
    if (id < 0) {
        error = "'" + step.args[0] + "' is not a control ID";
        return false;
    }
    if (!IntArg(step, 1, notification, error)) return false;
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    WPARAM wParam = MAKEWPARAM(static_cast<WORD>(id), static_cast<WORD>(notification));
    PostMessageA(Installer.mainWindow, WM_COMMAND, wParam, reinterpret_cast<LPARAM>(ButtonWithId(id)));
    return true;
}

// The caption's close box: the system command that becomes WM_CLOSE.
bool StepClose(const Step&, std::string& error)
{
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    PostMessageA(Installer.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}
