#include <string.h>

#include "common/layout_math.h"
#include "state/window.h"
#include "app/startup.h"
#include "diag/fatal.h"
#include "diag/fatal_codes.h"

namespace {

SIZE MeasureText(HDC dc, const char* text) {
    SIZE size = {0, 0};
    GetTextExtentPoint32A(dc, text, static_cast<int>(strlen(text)), &size);
    return size;
}

void Place(HWND window, const LayoutRect& rect) {
    MoveWindow(window, rect.x, rect.y, rect.width, rect.height, TRUE);
}

// Fills the font measures; the logo and client sizes are already set.
void MeasureFont(LayoutMeasures& measures) {
    HDC dc = GetDC(MainWindow);
    if (dc == NULL) {
        AbortWithLastError(FatalGetDc, "can't get device context");
    }
    // The asterisks widen each button by a margin around its label.
    measures.lineHeight = MeasureText(dc, LineProbe).cy;
    measures.exitWidth = MeasureText(dc, "**Exit**").cx;
    measures.installWidth = MeasureText(dc, "**install in this folder**").cx;
    measures.selectWidth = MeasureText(dc, "**select another folder**").cx;
    if (ReleaseDC(MainWindow, dc) == 0) {
        AbortWithLastError(FatalReleaseDc, "can't release device context");
    }
}

void PlaceChildren(const ChildLayout& layout) {
    Place(LogoWindow, layout.logo);
    Place(DescriptionText, layout.description);
    Place(WarningText, layout.warning);
    Place(OsText, layout.os);
    Place(ArchitectureText, layout.architecture);
    Place(StatusText, layout.status);
    Place(UnpackProgress, layout.unpackProgress);
    Place(FolderText, layout.folder);
    Place(MessageText, layout.message);
    Place(CopyProgress, layout.copyProgress);
    Place(InstallButton, layout.install);
    Place(SelectButton, layout.select);
    Place(ExitButton, layout.exit);
}

}  // namespace

void LayoutWindows() {
    LayoutMeasures measures = {};
    measures.logoWidth = LogoBitmap->biWidth;
    measures.logoHeight = LogoBitmap->biHeight;

    Place(MainWindow,
          MainWindowRect(measures.logoHeight, GetSystemMetrics(SM_CXSCREEN), GetSystemMetrics(SM_CYSCREEN)));
    RECT client = {0, 0, 0, 0};
    GetClientRect(MainWindow, &client);
    measures.clientWidth = client.right;

    MeasureFont(measures);
    PlaceChildren(ComputeChildLayout(measures));
}
