// Varnoset: the reference product's program. One window that names the
// product and its version; F1 opens the help viewer beside it.
#include <windows.h>

#include "product/src/program_window.h"

static const char ProductTitle[] = "Varnoset 2.18";
static const char ProductLine[] = "Varnoset 2.18 - tables and charts for the small office";
static const char HelpHint[] = "Press F1 for help.";

static void StartHelpViewer(HWND window) {
    char path[MAX_PATH];
    DWORD length = GetModuleFileNameA(NULL, path, MAX_PATH);
    if (length == 0 || length >= MAX_PATH) return;
    char* slash = strrchr(path, '\\');
    if (slash == NULL || (slash - path) + sizeof "\\Tollvane.EXE" > MAX_PATH) return;
    strcpy(slash, "\\Tollvane.EXE");
    ShellExecuteA(window, "open", path, NULL, NULL, SW_SHOWNORMAL);
}

static void Paint(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    RECT client;
    GetClientRect(window, &client);
    SetBkMode(dc, TRANSPARENT);
    RECT top = client;
    top.bottom = client.bottom / 2;
    DrawTextA(dc, ProductLine, -1, &top, DT_CENTER | DT_BOTTOM | DT_SINGLELINE);
    RECT bottom = client;
    bottom.top = client.bottom / 2 + 8;
    DrawTextA(dc, HelpHint, -1, &bottom, DT_CENTER | DT_TOP | DT_SINGLELINE);
    EndPaint(window, &paint);
}

static LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_PAINT:
            Paint(window);
            return 0;
        case WM_KEYDOWN:
            if (wParam == VK_F1) StartHelpViewer(window);
            return 0;
        case WM_DESTROY:
            PostQuitMessage(0);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int showCommand) {
    if (!RegisterProgramClass(instance, MainWndProc, "VarnosetMain")) return 1;

    HWND window = CreateWindowExA(0, "VarnosetMain", ProductTitle, WS_OVERLAPPEDWINDOW, CW_USEDEFAULT, CW_USEDEFAULT,
                                  420, 200, NULL, NULL, instance, NULL);
    if (window == NULL) return 1;
    return RunProgramLoop(window, showCommand);
}
