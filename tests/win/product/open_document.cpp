// Opens a document as Explorer does (ShellExecute "open", so a .lnk runs its
// target in its working folder), waits for a top-level window of CLASS and
// TITLE, prints the program and working folder of the process that owns it,
// closes the window and prints the process's exit code:
//   open_document.exe DOCUMENT CLASS TITLE
//   program C:\...\X.EXE / folder C:\...\ / exit N
// Exit code 0 when every step happened, 1 otherwise.
#include <windows.h>
#include <shellapi.h>
#include <winternl.h>
#include <stdio.h>

static HWND WaitForWindow(const char* className, const char* title) {
    HWND window = NULL;
    for (int waited = 0; !window && waited < 20000; waited += 100, Sleep(100)) window = FindWindowA(className, title);
    return window;
}

// The current folder is kept in the process parameters its PEB points at;
// the offsets are those of the layouts of this helper's width, which the
// programs share (both are built for the build's arch).
#ifdef _WIN64
static const size_t ParametersInPeb = 0x20, FolderInParameters = 0x38;
#else
static const size_t ParametersInPeb = 0x10, FolderInParameters = 0x24;
#endif

static bool PrintWorkingFolder(HANDLE process) {
    PROCESS_BASIC_INFORMATION basic;
    if (NtQueryInformationProcess(process, ProcessBasicInformation, &basic, sizeof basic, NULL) != 0)
        return false;
    char* parameters = NULL;
    UNICODE_STRING folder;
    WCHAR text[MAX_PATH + 1] = {};
    if (!ReadProcessMemory(process, (char*)basic.PebBaseAddress + ParametersInPeb, &parameters, sizeof parameters,
                           NULL) ||
        !ReadProcessMemory(process, parameters + FolderInParameters, &folder, sizeof folder, NULL) ||
        folder.Length >= sizeof text ||
        !ReadProcessMemory(process, folder.Buffer, text, folder.Length, NULL))
        return false;
    printf("folder %ls\n", text);
    return true;
}

int main(int argc, char** argv) {
    if (argc != 4) {
        fprintf(stderr, "usage: open_document DOCUMENT CLASS TITLE\n");
        return 2;
    }
    CoInitializeEx(NULL, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
    INT_PTR started = (INT_PTR)ShellExecuteA(NULL, "open", argv[1], NULL, NULL, SW_SHOWNORMAL);
    if (started <= 32) {
        printf("ShellExecute failed with %d\n", (int)started);
        return 1;
    }
    HWND window = WaitForWindow(argv[2], argv[3]);
    if (!window) {
        printf("no window \"%s\" of class %s within 20 s\n", argv[3], argv[2]);
        return 1;
    }
    DWORD pid = 0;
    GetWindowThreadProcessId(window, &pid);
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | PROCESS_VM_READ | SYNCHRONIZE, FALSE, pid);
    char program[MAX_PATH];
    DWORD length = MAX_PATH;
    if (!process || !QueryFullProcessImageNameA(process, 0, program, &length) || !PrintWorkingFolder(process)) {
        printf("can't inspect process %lu: error %lu\n", pid, GetLastError());
        return 1;
    }
    printf("program %s\n", program);
    PostMessageA(window, WM_CLOSE, 0, 0);
    DWORD code = 259;
    if (WaitForSingleObject(process, 10000) != WAIT_OBJECT_0 || !GetExitCodeProcess(process, &code)) {
        printf("the program did not end after WM_CLOSE\n");
        return 1;
    }
    printf("exit %lu\n", code);
    return 0;
}
