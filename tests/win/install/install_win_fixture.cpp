#include "tests/win/install/install_win_fixture.h"

#include <commctrl.h>
#include <stdio.h>

#include "state/window.h"

std::vector<ProgressMessage> ProgressLog;

static PayloadRecord Rows[16] = {};
static bool Kept[16] = {};

// The reference product's texts, as its record would give them.
[[maybe_unused]] static const bool ProductSet = (InstallManifest = ProductTexts{"Varnoset", "2.18", "C:\\Holbrine\\Varnoset", "Holbrine",
                                    "Varnoset, charts for the small office\nby Holbrine Software\nMarrow Falls, Vermont"},
                                FileTable = Rows, KeepExistingRows = Kept, true);

static LRESULT CALLBACK RecordingBar(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == PBM_SETRANGE || message == PBM_SETPOS) {
        ProgressLog.push_back({window, message, wParam, lParam});
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

static HWND Child(HWND parent, const char* className) {
    return CreateWindowExA(0, className, "", WS_CHILD | WS_VISIBLE, 0, 0, 10, 10, parent, nullptr,
                           GetModuleHandleA(nullptr), nullptr);
}

void MakeStandInControls() {
    static bool made = false;
    if (!made) {
        made = true;
        WNDCLASSA barClass = {};
        barClass.lpfnWndProc = RecordingBar;
        barClass.hInstance = GetModuleHandleA(nullptr);
        barClass.lpszClassName = "RecordingBar";
        RegisterClassA(&barClass);
        MainWindow = CreateWindowExA(0, "STATIC", "stand-in", WS_POPUP | WS_VISIBLE, 0, 0, 100, 100, nullptr,
                                     nullptr, GetModuleHandleA(nullptr), nullptr);
        for (HWND* text : {&StatusText, &MessageText, &FolderText}) *text = Child(MainWindow, "STATIC");
        for (HWND* bar : {&UnpackProgress, &CopyProgress}) *bar = Child(MainWindow, "RecordingBar");
        for (HWND* button : {&InstallButton, &SelectButton, &ExitButton}) *button = Child(MainWindow, "BUTTON");
    }
    ShowWindow(UnpackProgress, SW_HIDE);
    ShowWindow(CopyProgress, SW_HIDE);
    ProgressLog.clear();
}

std::string EnterScratchFolder() {
    static int serial = 0;
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    char folder[MAX_PATH];
    snprintf(folder, sizeof folder, "%sinstall-test-%lu-%d", temp, GetCurrentProcessId(), ++serial);
    CreateDirectoryA(folder, nullptr);
    SetCurrentDirectoryA(folder);
    return folder;
}

void SetRows(const std::vector<PayloadRecord>& rows, const std::vector<bool>& kept) {
    size_t i = 0;
    for (; i < rows.size(); ++i) {
        FileTable[i] = rows[i];
        Kept[i] = i < kept.size() && kept[i];
    }
    FileTable[i] = PayloadRecord{};
}

FILETIME FileTimeOf(unsigned long long ticks) {
    return FILETIME{static_cast<DWORD>(ticks), static_cast<DWORD>(ticks >> 32)};
}

void PutFile(const char* path, const std::string& contents, unsigned long long ticks) {
    HANDLE file = CreateFileA(path, GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                              nullptr);
    DWORD written = 0;
    WriteFile(file, contents.data(), static_cast<DWORD>(contents.size()), &written, nullptr);
    FILETIME time = FileTimeOf(ticks);
    SetFileTime(file, &time, &time, &time);
    CloseHandle(file);
}

std::string ReadFileText(const char* path) {
    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    if (file == INVALID_HANDLE_VALUE) return "<missing>";
    std::string text;
    char buffer[4096];
    DWORD got = 0;
    while (ReadFile(file, buffer, sizeof buffer, &got, nullptr) && got > 0) text.append(buffer, got);
    CloseHandle(file);
    return text;
}
