// The installer process the driver started, and the windows it owns.
#pragma once

#include <windows.h>

#include <string>

struct InstallerState {
    HANDLE process = nullptr;
    DWORD processId = 0;
    std::string exePath;
    bool withoutUserProfile = false;  // USERPROFILE left out of its environment
    HWND mainWindow = nullptr;        // the "MAIN" window, once found
};

extern InstallerState Installer;
extern bool TakeShots;  // a runner answers "SHOT name" lines on stdin

enum { DefaultTimeoutMs = 20000, PollIntervalMs = 50 };

bool StartInstaller(const std::string& exePath, std::string& error);
bool InstallerRunning();
// Ends the installer if it still runs (after a failed step).
void StopInstaller();
// Why a wait may have failed: the installer ended, or a fatal report is on
// screen. Empty when neither; otherwise starts with "; ".
std::string DescribeInstaller();

// Top-level window of the installer process with that class and title (or
// title prefix), or null. A null CLASS or TITLE matches any.
HWND FindInstallerWindow(const char* className, const char* title, bool titleIsPrefix = false);

// Calls DONE every PollIntervalMs until it returns true or TIMEOUT_MS pass;
// stops early when the installer has ended.
template <typename Done>
bool PollUntil(DWORD timeoutMs, Done done) {
    DWORD start = GetTickCount();
    for (;;) {
        if (done()) return true;
        if (GetTickCount() - start >= timeoutMs) return false;
        if (!InstallerRunning()) return done();
        Sleep(PollIntervalMs);
    }
}

std::string WindowTextOf(HWND window);
// The message text of a message box: its longest static text (the icon is a
// static without text).
std::string MessageBoxText(HWND box);
std::string ClassNameOf(HWND window);
// Text with line breaks and control characters spelled out, for messages.
std::string Visible(const std::string& text);
