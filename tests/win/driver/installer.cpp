#include "tests/win/driver/installer.h"

#include <cstdio>
#include <cstring>

InstallerState Installer;

namespace {

bool NameIsUnset(const char* entry)
{
    const char* equals = std::strchr(entry + 1, '=');
    size_t length = equals ? static_cast<size_t>(equals - entry) : std::strlen(entry);
    for (const std::string& name : Installer.unsetVariables)
        if (name.size() == length && _strnicmp(name.c_str(), entry, length) == 0) return true;
    return false;
}

// A copy of the driver's environment block without the unset variables.
std::vector<char> EnvironmentBlock()
{
    std::vector<char> block;
    char* strings = GetEnvironmentStringsA();
    for (const char* entry = strings; *entry; entry += std::strlen(entry) + 1) {
        if (NameIsUnset(entry)) continue;
        block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
    }
    FreeEnvironmentStringsA(strings);
    block.push_back('\0');
    if (block.size() == 1) block.push_back('\0');
    return block;
}

struct WindowSearch {
    const char* className;
    const char* title;
    bool titleIsPrefix;
    HWND found;
};

BOOL CALLBACK MatchTopWindow(HWND window, LPARAM param)
{
    auto* search = reinterpret_cast<WindowSearch*>(param);
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    if (pid != Installer.processId) return TRUE;
    if (search->className && ClassNameOf(window) != search->className) return TRUE;
    if (search->title) {
        std::string text = WindowTextOf(window);
        bool match = search->titleIsPrefix ? text.compare(0, std::strlen(search->title), search->title) == 0
                                           : text == search->title;
        if (!match) return TRUE;
    }
    search->found = window;
    return FALSE;
}

} // namespace

bool StartInstaller(const std::string& exePath, std::string& error)
{
    if (Installer.process) StopInstaller();
    std::vector<char> environment = EnvironmentBlock();
    std::string commandLine = "\"" + exePath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(exePath.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, environment.data(),
                        nullptr, &startup, &info)) {
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

bool InstallerRunning()
{
    return Installer.process && WaitForSingleObject(Installer.process, 0) == WAIT_TIMEOUT;
}

void StopInstaller()
{
    if (InstallerRunning()) {
        TerminateProcess(Installer.process, 255);
        WaitForSingleObject(Installer.process, 5000);
    }
}

std::string DescribeInstaller()
{
    if (!Installer.process) return "no installer was started";
    if (!InstallerRunning()) {
        DWORD code = 0;
        GetExitCodeProcess(Installer.process, &code);
        return "the installer has ended with exit code " + std::to_string(static_cast<long>(code));
    }
    HWND fatal = FindInstallerWindowByTitlePrefix("Fatal Error Code ");
    if (fatal) return "a fatal report is showing: \"" + WindowTextOf(fatal) + "\"";
    return "";
}

HWND FindInstallerWindow(const char* className, const char* title)
{
    WindowSearch search{className, title, false, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND FindInstallerWindowByTitlePrefix(const char* prefix)
{
    WindowSearch search{nullptr, prefix, true, nullptr};
    EnumWindows(MatchTopWindow, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

std::string WindowTextOf(HWND window)
{
    // GetWindowTextA reads the stored text of another process's window
    // without sending it a message, so a busy installer cannot block it.
    char buffer[2048];
    int length = GetWindowTextA(window, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string ClassNameOf(HWND window)
{
    char buffer[256];
    int length = GetClassNameA(window, buffer, sizeof buffer);
    return std::string(buffer, length > 0 ? length : 0);
}

std::string Visible(const std::string& text)
{
    std::string out = "\"";
    for (unsigned char c : text) {
        if (c == '\n') out += "\\n";
        else if (c == '\r') out += "\\r";
        else if (c < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else out += static_cast<char>(c);
    }
    return out + "\"";
}
