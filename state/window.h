// Process-wide window handles and control IDs of the installer's one window.
#pragma once

#include <windows.h>

enum {
    IDC_INSTALL = 0x401,
    IDC_SELECT = 0x402,
    IDC_EXIT = 0x404,
};

extern HINSTANCE AppInstance;
extern const BITMAPINFOHEADER* LogoBitmap;

extern HWND MainWindow;
extern HWND LogoWindow;
extern HWND DescriptionText;
extern HWND OsText;
extern HWND ArchitectureText;
extern HWND WarningText;
extern HWND StatusText;
extern HWND MessageText;
extern HWND FolderText;
extern HWND UnpackProgress;
extern HWND CopyProgress;
extern HWND InstallButton;
extern HWND SelectButton;
extern HWND ExitButton;

void PumpMessages();
