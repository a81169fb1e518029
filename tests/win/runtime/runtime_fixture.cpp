#include "tests/win/runtime/runtime_fixture.h"

#include <commctrl.h>

#include "app/manifest.h"
#include "app/startup.h"
#include "app/windows.h"

void BuildInstallerWindow() {
    static bool built = false;
    if (built) return;
    built = true;
    AppInstance = GetModuleHandleA(NULL);
    LogoBitmap = reinterpret_cast<const BITMAPINFOHEADER*>(GetResource("LOGO", 2).bytes);
    HBRUSH grey = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    RegisterWindowClass("MAIN", MainWndProc, grey, IDC_ARROW, 0);
    RegisterWindowClass("LOGO", LogoWndProc, grey, IDC_ARROW, 0);
    InitCommonControls();
    CreateWindows();
    DrainMessages();
    LayoutWindows();
    DrainMessages();
}

void DrainMessages() {
    MSG message;
    while (PeekMessageA(&message, NULL, 0, 0, PM_REMOVE)) DispatchMessageA(&message);
}
