#include "payload/progress.h"

#include <commctrl.h>

#include "state/product.h"

WORD CountRows() {
    WORD rows = 0;
    while (FileTable[rows].name) ++rows;
    return rows;
}

void StartProgress(HWND bar, WORD rows) {
    ShowWindow(bar, SW_SHOW);
    SendMessageA(bar, PBM_SETRANGE, 0, MAKELPARAM(0, rows));
}

void SetProgress(HWND bar, WORD position) {
    SendMessageA(bar, PBM_SETPOS, position, 0);
}

void EndProgress(HWND bar, WORD rows) {
    SetProgress(bar, rows);
    ShowWindow(bar, SW_HIDE);
}
