// Opens a document as Explorer does (ShellExecute "open", so a .lnk runs its
// target), waits for a top-level window of CLASS and TITLE, prints the
// program of the process that owns it, closes the window and prints the
// process's exit code:
//   open_document.exe DOCUMENT CLASS TITLE
//   program C:\...\X.EXE / exit N
// Exit code 0 when every step happened, 1 otherwise.
#include <windows.h>
#include <shellapi.h>
#include <stdio.h>

static HWND WaitForWindow(const char* className, const char* title) {
    HWND window = NULL;
    for (int waited = 0; !window && waited < 20000; waited += 100, Sleep(100)) window = FindWindowA(className, title);
    return window;
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
    HANDLE process = OpenProcess(PROCESS_QUERY_INFORMATION | SYNCHRONIZE, FALSE, pid);
    char program[MAX_PATH];
    DWORD length = MAX_PATH;
    if (!process || !QueryFullProcessImageNameA(process, 0, program, &length)) {
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
