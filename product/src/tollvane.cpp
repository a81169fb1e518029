// Tollvane: the reference product's help viewer. Shows Varnoset.HLP, a text
// file beside the program, in a read-only edit control.
#include <windows.h>

#include "product/src/program_window.h"

#include <stdlib.h>

static const char HelpFileName[] = "Varnoset.HLP";
static HWND TextBox;

// Reads the help file from the viewer's own folder; null when it cannot.
static char* ReadHelpText() {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    char* slash = length > 0 && length < MAX_PATH ? strrchr(path, '\\') : NULL;
    if (slash == NULL || (slash - path) + 1 + sizeof HelpFileName > MAX_PATH) return NULL;
    strcpy(slash + 1, HelpFileName);

    HANDLE file = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ, NULL, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, NULL);
    if (file == INVALID_HANDLE_VALUE) return NULL;
    DWORD size = GetFileSize(file, NULL);
    char* text = size != INVALID_FILE_SIZE && size < (1u << 24) ? static_cast<char*>(malloc(size + 1)) : NULL;
    DWORD read = 0;
    if (text != NULL && (!ReadFile(file, text, size, &read, NULL) || read != size)) {
        free(text);
        text = NULL;
    }
    CloseHandle(file);
    if (text != NULL) text[size] = '\0';
    return text;
}

static LRESULT CALLBACK ViewerWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_SIZE:
            MoveWindow(TextBox, 0, 0, LOWORD(lParam), HIWORD(lParam), TRUE);
            return 0;
        case WM_SETFOCUS:
            SetFocus(TextBox);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!RegisterProgramClass(instance, ViewerWndProc, "TollvaneMain")) return 1;

    HWND window = CreateWindowExA(0, "TollvaneMain", "Tollvane - Varnoset Help", WS_OVERLAPPEDWINDOW, CW_USEDEFAULT,
                                  CW_USEDEFAULT, 560, 420, NULL, NULL, instance, NULL);
    if (window == NULL) return 1;
    TextBox = CreateWindowExA(WS_EX_CLIENTEDGE, "EDIT", "",
                              WS_CHILD | WS_VISIBLE | WS_VSCROLL | ES_MULTILINE | ES_READONLY | ES_AUTOVSCROLL, 0, 0, 0,
                              0, window, NULL, instance, NULL);
    if (TextBox == NULL) return 1;

    char* text = ReadHelpText();
    SetWindowTextA(TextBox, text != NULL ? text : "The help file Varnoset.HLP could not be read.");
    free(text);

    return RunProgramLoop(window, showCommand);
}
