// Steps that look at the installer's window and its controls, and act on it
// the way a user would.
#include "tools/verify/driver/controls.h"
#include "tools/verify/driver/installer.h"
#include "tools/verify/driver/steps.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

std::string UpperCase(std::string text) {
    for (char& c : text)
        if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
    return text;
}

bool IsButton(HWND control) {
    return UpperCase(ClassNameOf(control)) == "BUTTON";
}

// The control's own WS_VISIBLE, whatever its parent's state.
bool HasVisibleStyle(HWND control) {
    return (GetWindowLongA(control, GWL_STYLE) & WS_VISIBLE) != 0;
}

// The style bits a control is created with, as 0x50000001: the high word and
// the class's four lowest bits (classes may add others), then " ex 0x..." for
// extended styles beyond the one the system adds.
std::string StyleOf(HWND control) {
    char text[40];
    const DWORD style = static_cast<DWORD>(GetWindowLongA(control, GWL_STYLE)) & 0xFFFF000Fu;
    const DWORD extended = static_cast<DWORD>(GetWindowLongA(control, GWL_EXSTYLE)) & ~WS_EX_NOPARENTNOTIFY;
    std::snprintf(text, sizeof text, extended ? "0x%08lX ex 0x%08lX" : "0x%08lX", static_cast<unsigned long>(style),
                  static_cast<unsigned long>(extended));
    return text;
}

// A property as text, so that one comparison serves them all. Window class
// names ignore case ("STATIC" is registered as "Static").
std::string ReadProperty(const std::string& property, HWND control) {
    if (property == "text") return WindowTextOf(control);
    if (property == "class") return UpperCase(ClassNameOf(control));
    if (property == "style") return StyleOf(control);
    if (property == "id") return std::to_string(GetDlgCtrlID(control));
    if (property == "visible") return HasVisibleStyle(control) ? "1" : "0";
    return IsWindowEnabled(control) ? "1" : "0";
}

// Numeric control ID for IDC_INSTALL, IDC_SELECT, IDC_EXIT or a number; -1
// when the text is neither.
long ParseControlId(const std::string& text) {
    static const struct {
        const char* name;
        long id;
    } named[] = {{"IDC_INSTALL", 0x401}, {"IDC_SELECT", 0x402}, {"IDC_EXIT", 0x404}};
    for (const auto& n : named)
        if (text == n.name) return n.id;
    char* end = nullptr;
    long value = std::strtol(text.c_str(), &end, 0);
    return (!text.empty() && *end == '\0' && value >= 0 && value <= 0xFFFF) ? value : -1;
}

}  // namespace

bool StepWaitWindow(const Step& step, std::string& error) {
    long timeoutMs;
    if (!IntArg(step, 2, timeoutMs, error)) return false;
    const std::string& className = step.args[0];
    const std::string title = UnescapeText(step.args[1]);
    HWND found = nullptr;
    PollUntil(timeoutMs, [&] { return (found = FindInstallerWindow(className.c_str(), title.c_str())) != nullptr; });
    if (!found) {
        error = "no window of class " + Visible(className) + " titled " + Visible(title) + DescribeInstaller();
        return false;
    }
    if (className == "MAIN") Installer.mainWindow = found;
    return true;
}

bool StepExpectChildren(const Step& step, std::string& error) {
    long expected;
    std::vector<HWND> children;
    if (!IntArg(step, 0, expected, error)) return false;
    if (AllChildren(children, error) && expected == ChildRoleCount) return true;
    if (error.empty()) error = "the main window has " + std::to_string(ChildRoleCount) + " children";
    error += ", expected " + std::to_string(expected);
    return false;
}

// expect-P CONTROL VALUE checks once; wait-P CONTROL VALUE MS polls.
bool StepProperty(const Step& step, std::string& error) {
    const std::string property = std::strchr(step.kind->name, '-') + 1;
    std::string want = UnescapeText(step.args[1]);
    if (property == "class") want = UpperCase(want);
    if ((property == "visible" || property == "enabled") && want != "0" && want != "1") {
        error = "'" + want + "' is not 0 or 1";
        return false;
    }
    long timeoutMs = 0;
    HWND control;
    if ((step.args.size() == 3 && !IntArg(step, 2, timeoutMs, error)) || !ResolveControl(step.args[0], control, error))
        return false;
    // Behind a fatal report the window no longer changes: the wait ends there.
    std::string have;
    PollUntil(timeoutMs, [&] {
        return (have = ReadProperty(property, control)) == want ||
               FindInstallerWindow(nullptr, "Fatal Error Code ", true) != nullptr;
    });
    if (have == want) return true;
    error =
        step.args[0] + " " + property + " is " + Visible(have) + ", expected " + Visible(want) + DescribeInstaller();
    return false;
}

// A user can only click a button that is shown and enabled; the click goes
// through the button itself, which then notifies the main window.
bool StepClick(const Step& step, std::string& error) {
    HWND button;
    if (!ResolveControl(UnescapeText(step.args[0]), button, error)) return false;
    if (!IsButton(button) || !HasVisibleStyle(button) || !IsWindowEnabled(button)) {
        error = Visible(step.args[0]) + " is " +
                (!IsButton(button)         ? "not a button"
                 : HasVisibleStyle(button) ? "disabled"
                                           : "hidden");
        return false;
    }
    PostMessageA(button, BM_CLICK, 0, 0);
    return true;
}

// WM_COMMAND straight to the main window, even for hidden buttons. The
// button carrying ID goes along, as a button's own notification would; the
// progress bars share the Exit button's ID and are skipped.
bool StepSendCommand(const Step& step, std::string& error) {
    long id = ParseControlId(step.args[0]), notification;
    std::vector<HWND> children;
    if (id < 0) {
        error = "'" + step.args[0] + "' is not a control ID";
        return false;
    }
    if (!IntArg(step, 1, notification, error) || !AllChildren(children, error)) return false;
    HWND button = nullptr;
    for (HWND child : children)
        if (GetDlgCtrlID(child) == id && IsButton(child)) button = child;
    PostMessageA(Installer.mainWindow, WM_COMMAND, MAKEWPARAM(id, notification), reinterpret_cast<LPARAM>(button));
    return true;
}

// The caption's close box: the system command that becomes WM_CLOSE.
bool StepClose(const Step&, std::string& error) {
    if (!FindMainWindow(DefaultTimeoutMs, error)) return false;
    PostMessageA(Installer.mainWindow, WM_SYSCOMMAND, SC_CLOSE, 0);
    return true;
}

// Moves a control DX pixels to the right: a fault put in from outside, so
// the driver's own tests can show that check-layout notices a stray pixel.
bool StepNudge(const Step& step, std::string& error) {
    long dx;
    HWND control;
    if (!IntArg(step, 1, dx, error) || !ResolveControl(step.args[0], control, error)) return false;
    RECT rect = ChildRect(control);
    SetWindowPos(control, nullptr, rect.left + dx, rect.top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
    return true;
}
