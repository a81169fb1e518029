// Steps for the dialogs the installer opens: the fatal report's message box
// and the shell's folder browser.
#include "tools/verify/driver/installer.h"
#include "tools/verify/driver/steps.h"

#include <shlobj.h>

namespace {

bool WaitGone(HWND window, DWORD timeoutMs) {
    return PollUntil(timeoutMs, [&] { return !IsWindow(window) || !IsWindowVisible(window); });
}

}  // namespace

bool StepWaitFatal(const Step& step, std::string& error) {
    long code;
    if (!IntArg(step, 0, code, error)) return false;
    const std::string title = "Fatal Error Code " + std::to_string(code);
    const std::string expected = UnescapeText(step.args[1]);
    HWND box = nullptr;
    PollUntil(DefaultTimeoutMs,
              [&] { return (box = FindInstallerWindow(nullptr, "Fatal Error Code ", true)) != nullptr; });
    if (!box) {
        error = "no fatal report appeared" + DescribeInstaller();
        return false;
    }
    // The box may exist a moment before its text is set.
    std::string text;
    PollUntil(2000, [&] { return !(text = MessageBoxText(box)).empty(); });
    std::string haveTitle = WindowTextOf(box);
    if (haveTitle != title || text != expected) {
        error = "fatal report " + Visible(haveTitle) + " " + Visible(text) + ", expected " + Visible(title) + " " +
                Visible(expected);
        return false;
    }
    // The report is system-modal: it stays above every other window.
    if (!(GetWindowLongA(box, GWL_EXSTYLE) & WS_EX_TOPMOST)) {
        error = "fatal report " + Visible(haveTitle) + " is not system-modal (not topmost)";
        return false;
    }
    HWND ok = GetDlgItem(box, IDOK);
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), reinterpret_cast<LPARAM>(ok));
    if (!WaitGone(box, 5000)) {
        error = "the fatal report did not close on OK";
        return false;
    }
    return true;
}

// Wine's folder browser ignores text typed into its edit box; the tree
// selection is what counts. BFFM_SETSELECTIONA takes a path pointer that the
// browser reads in its own process, so the path is written there first.
bool StepBrowse(const Step& step, std::string& error) {
    HWND dialog = nullptr;
    PollUntil(DefaultTimeoutMs,
              [&] { return (dialog = FindInstallerWindow(nullptr, "Browse for Folder")) != nullptr; });
    if (!dialog) {
        error = "no \"Browse for Folder\" dialog" + DescribeInstaller();
        return false;
    }
    const std::string& path = step.args[0];
    if (path == "cancel") {
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
    } else {
        void* remote = VirtualAllocEx(Installer.process, nullptr, path.size() + 1, MEM_COMMIT, PAGE_READWRITE);
        if (!remote || !WriteProcessMemory(Installer.process, remote, path.c_str(), path.size() + 1, nullptr)) {
            error = "cannot write the path into the installer: Windows error " + std::to_string(GetLastError());
            return false;
        }
        // Wine's browser finds a folder two or more levels down only once an
        // earlier request has expanded the levels above it: ask twice.
        DWORD_PTR result;
        for (int request = 0; request < 2; ++request) {
            if (!SendMessageTimeoutA(dialog, BFFM_SETSELECTIONA, TRUE, reinterpret_cast<LPARAM>(remote),
                                     SMTO_ABORTIFHUNG, 10000, &result)) {
                error = "the folder browser did not take the selection";
                return false;
            }
        }
        PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
        // The memory stays: the browser may still read it while closing.
    }
    if (!WaitGone(dialog, 10000)) {
        error = "the folder browser did not close";
        return false;
    }
    return true;
}
