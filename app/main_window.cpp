#include "app/folder.h"
#include "state/window.h"
#include "app/startup.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

namespace {

void OnButtonCommand(WPARAM wParam) {
    WORD notification = HIWORD(wParam);
    if (notification != BN_CLICKED && notification != BN_DOUBLECLICKED) return;
    switch (LOWORD(wParam)) {
        case IDC_SELECT:
            OnSelectFolder();
            break;
        case IDC_INSTALL:
            OnInstall();
            break;  // a failed install leaves the prompt as it was
        case IDC_EXIT:
            PostQuitMessage(0);
            break;
        default:
            break;
    }
}

LRESULT ColourControl(WPARAM deviceContext, int brush) {
    HDC dc = reinterpret_cast<HDC>(deviceContext);
    SetTextColor(dc, RGB(0, 0, 0));
    SetBkMode(dc, TRANSPARENT);
    return reinterpret_cast<LRESULT>(GetStockObject(brush));
}

void PaintMainWindow(HWND window) {
    // Nothing to draw: the class brush paints the background.
    PAINTSTRUCT paint;
    if (BeginPaint(window, &paint) == NULL) {
        AbortWithLastError(FatalMainPaint, "can't get device context to begin painting");
    }
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
            return 0;
        case WM_CLOSE:
            // The window stays; WinMain returns when the quit message arrives.
            PostQuitMessage(0);
            return 0;
        case WM_COMMAND:
            OnButtonCommand(wParam);
            return 0;
        case WM_CTLCOLORSTATIC:
        case WM_CTLCOLORBTN:
            return ColourControl(wParam, LTGRAY_BRUSH);
        case WM_CTLCOLOREDIT:
            return ColourControl(wParam, WHITE_BRUSH);
        case WM_GETMINMAXINFO:
            reinterpret_cast<MINMAXINFO*>(lParam)->ptMinTrackSize = POINT{560, 480};
            return 0;
        case WM_PAINT:
            PaintMainWindow(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
