#include "tools/verify/driver/installer.h"

#include <algorithm>
#include <cstdio>
#include <cstring>
#include <vector>

InstallerState Installer;

namespace {

// A copy of the driver's environment block, without USERPROFILE if asked.
std::vector<char> EnvironmentBlock() {
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1)
        if (!Installer.withoutUserProfile || _strnicmp(entry, "USERPROFILE=", 12) != 0)
            block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
    FreeEnvironmentStringsA(strings);
    block.push_back('\0');
    return block;
}

struct WindowSearch {
    const char* className;
    const char* title;
    bool titleIsPrefix;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param) {
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != Installer.processId) return TRUE;
    if (search->className && ClassNameOf(window) != search->className) return TRUE;
    std::string text = WindowTextOf(window);
    if (search->titleIsPrefix) text.resize(std::min(text.size(), std::strlen(search->title)));
    if (search->title && text != search->title) return TRUE;
    search->found = window;
    return FALSE;
}

}  // namespace

bool StartInstaller(const std::string& exePath, std::string& error) {
    StopInstaller();
    std::vector<char> environment = EnvironmentBlock();
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, environment.data(), nullptr,
                        &startup, &info)) {
        error = "cannot start " + exePath + ": Windows error " + std::to_string(GetLastError());
        return false;
    }
    CloseHandle(info.hThread);
    Installer.process = info.hProcess;
    Installer.processId = info.dwProcessId;
    Installer.exePath = exePath;
    Installer.mainWindow = nullptr;
    return true;
}

bool InstallerRunning() {
    return Installer.process && WaitForSingleObject(Installer.process, 0) == WAIT_TIMEOUT;
}

void StopInstaller() {
    if (InstallerRunning()) {
        TerminateProcess(Installer.process, 255);
        WaitForSingleObject(Installer.process, 5000);
    }
}

std::string DescribeInstaller() {
    if (!Installer.process) return "; no installer was started";
    if (!InstallerRunning()) {
        DWORD code = 0;
        GetExitCodeProcess(Installer.process, &code);
        return "; the installer has ended with exit code " + std::to_string(static_cast<long>(code));
    }
    HWND fatal = FindInstallerWindow(nullptr, "Fatal Error Code ", true);
    return fatal ? "; a fatal report is showing: " + Visible(WindowTextOf(fatal)) + " " + Visible(MessageBoxText(fatal))
                 : "";
}

HWND FindInstallerWindow(const char* className, const char* title, bool titleIsPrefix) {
    WindowSearch search{className, title, titleIsPrefix, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowTextOf(HWND window) {
    // GetWindowTextA reads the stored text of another process's window
    // without sending it a message, so a busy installer cannot block it.
    char buffer[2048];
    int length = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string MessageBoxText(HWND box) {
    std::string best;
    for (HWND child = GetWindow(box, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT)) {
        std::string text = WindowTextOf(child);
        if (_stricmp(ClassNameOf(child).c_str(), "Static") == 0 && text.size() > best.size()) best = text;
    }
    return best;
}

std::string ClassNameOf(HWND window) {
    char buffer[256];
    int length = GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string Visible(const std::string& text) {
    std::string out = "\"";
    for (unsigned char c : text) {
        char hex[8];
        std::snprintf(hex, sizeof hex, "\\x%02X", c);
        out += c == '\n' ? "\\n" : c < 0x20 ? hex : std::string(1, static_cast<char>(c));
    }
    return out + "\"";
}
