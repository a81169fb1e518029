// Process-wide state of the front end, written once during start-up.
#include "state/product.h"
#include "state/window.h"

HINSTANCE AppInstance;
const BITMAPINFOHEADER* LogoBitmap;

HWND MainWindow;
HWND LogoWindow;
HWND DescriptionText;
HWND OsText;
HWND ArchitectureText;
HWND WarningText;
HWND StatusText;
HWND MessageText;
HWND FolderText;
HWND UnpackProgress;
HWND CopyProgress;
HWND InstallButton;
HWND SelectButton;
HWND ExitButton;

char InstallFolder[PathBufferSize];
