// Shared set-up of the installer's Win32 tests: a file table the tests fill,
// stand-in controls whose progress messages are recorded, and a scratch
// folder that is the current directory during a test.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

#include "state/product.h"

struct ProgressMessage {
    HWND bar;
    UINT message;
    WPARAM wParam;
    LPARAM lParam;
    bool operator==(const ProgressMessage& o) const {
        return bar == o.bar && message == o.message && wParam == o.wParam && lParam == o.lParam;
    }
};

extern std::vector<ProgressMessage> ProgressLog;

// Creates StatusText, MessageText, the two progress bars (recording) and the
// buttons once; hides the bars and clears the log on every call.
void MakeStandInControls();

// A new empty folder under the temporary folder, made current.
std::string EnterScratchFolder();

// Sets the table to these rows followed by the terminator.
void SetRows(const std::vector<PayloadRecord>& rows, const std::vector<bool>& kept = {});

FILETIME FileTimeOf(unsigned long long ticks);

// Writes a file directly (not through the installer) with a given time.
void PutFile(const char* path, const std::string& contents, unsigned long long ticks);
std::string ReadFileText(const char* path);
