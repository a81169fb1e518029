#include "app/shared/windows.h"
#include "app/startup.h"
#include "diag/error_text.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

void RegisterWindowClass(const char* className, WNDPROC windowProc, HBRUSH background,
                         const char* cursorName, UINT extraStyle) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | extraStyle;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = AppInstance;
    windowClass.hIcon = LoadIconA(AppInstance, "IC0N");  // a missing icon is acceptable
    windowClass.hCursor = LoadCursorA(NULL, cursorName);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (RegisterClassA(&windowClass) == 0) {
        DWORD error = GetLastError();
        Abort(FatalRegisterClass, "can't register class\nWin Err Code %i: %s",
              static_cast<int>(error), ErrorText(error));
    }
}
