#include "common/dib.h"
#include "state/window.h"
#include "app/startup.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

namespace {

// The pixel rows follow the fixed 40-byte header and the colour table; the
// header's own biSize is deliberately not consulted.
const int InfoHeaderSize = 40;

void DrawLogo(HDC dc) {
    int colours = DibColorCount(LogoBitmap->biBitCount, LogoBitmap->biClrUsed);
    // A depth without a known table layout would point the rows into the
    // header; such a logo is left undrawn inside its frame.
    if (colours < 0) return;
    const BYTE* pixels = reinterpret_cast<const BYTE*>(LogoBitmap) + InfoHeaderSize + 4 * colours;
    LONG width = LogoBitmap->biWidth;
    LONG height = LogoBitmap->biHeight;
    StretchDIBits(dc, 3, 3, width, height, 0, 0, width, height, pixels, reinterpret_cast<const BITMAPINFO*>(LogoBitmap),
                  DIB_RGB_COLORS, SRCCOPY);
}

void PaintLogo(HWND window) {
    PAINTSTRUCT paint;
    HDC dc = BeginPaint(window, &paint);
    if (dc == NULL) {
        AbortWithLastError(FatalLogoPaint, "can't get device context to begin painting");
    }
    RECT client;
    GetClientRect(window, &client);
    DrawEdge(dc, &client, EDGE_SUNKEN, BF_RECT);
    DrawLogo(dc);
    EndPaint(window, &paint);
}

}  // namespace

LRESULT CALLBACK LogoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
        case WM_CREATE:
        case WM_DESTROY:
        case WM_CLOSE:
            return 0;
        case WM_PAINT:
            PaintLogo(window);
            return 0;
        default:
            return DefWindowProcA(window, message, wParam, lParam);
    }
}
