#include "state/window.h"
#include "app/startup.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

void RegisterWindowClass(const char* className, WNDPROC windowProc, HBRUSH background, const char* cursorName,
                         UINT extraStyle) {
    WNDCLASSA windowClass = {};
    windowClass.style = CS_HREDRAW | CS_VREDRAW | extraStyle;
    windowClass.lpfnWndProc = windowProc;
    windowClass.hInstance = AppInstance;
    windowClass.hIcon = LoadIconA(AppInstance, "IC0N");  // a missing icon is acceptable
    windowClass.hCursor = LoadCursorA(NULL, cursorName);
    windowClass.hbrBackground = background;
    windowClass.lpszClassName = className;
    if (RegisterClassA(&windowClass) == 0) {
        AbortWithLastError(FatalRegisterClass, "can't register class");
    }
}
