// The installer's entry point: one straight start-up sequence, then the
// message loop. Pending messages are drained between the steps so that the
// window paints while start-up works.
#include <windows.h>

#include <string.h>

#include "app/folder.h"
#include "state/product.h"
#include "common/product_record.h"
#include "state/window.h"
#include "app/startup.h"
#include "diag/fatal.h"
#include "payload/payload.h"
#include "system/dll_search.h"
#include "system/probes.h"

namespace {

// A default folder that does not fit is left out rather than cut short: an
// empty folder is refused at install time, a truncated one would not be.
void CopyDefaultFolder() {
    const char* folder = InstallManifest.defaultFolder;
    size_t length = strlen(folder);
    if (length < PathBufferSize) memcpy(InstallFolder, folder, length + 1);
}

void ShowIntroText() {
    WindowText(DescriptionText, INTRO_TEXT_FORMAT, InstallManifest.version, InstallManifest.productName,
               InstallManifest.description);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    RestrictDllSearch();
    AppInstance = instance;
    ReadProductRecord();
    CopyDefaultFolder();
    LogoBitmap = reinterpret_cast<const BITMAPINFOHEADER*>(GetResource("LOGO", 2).bytes);
    RegisterWindowClass("MAIN", MainWndProc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), IDC_ARROW, 0);
    RegisterWindowClass("LOGO", LogoWndProc, static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH)), IDC_ARROW, 0);
    LoadCommonControls();
    CreateWindows();
    PumpMessages();
    LayoutWindows();
    PumpMessages();
    ShowIntroText();
    PumpMessages();
    ProbeWindowsVersion();
    PumpMessages();
    ProbeArchitecture();
    PumpMessages();
    UnpackPayloads();
    PumpMessages();
    ShowFolderPrompt();
    PumpMessages();
    return RunMessageLoop();
}
