// A stand-in for the installer's window, used only to test the driver: the
// same window classes, children and texts, laid out by the same rules, a
// folder browser behind "select another folder", and the fatal report of a
// missing logo. MOCK_FAULT=exit-button-shifted moves one button by a pixel,
// so a test can show that check-layout notices.
#include "tests/win/driver/layout_expect.h"

#include <windows.h>
#include <commctrl.h>
#include <shlobj.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

HINSTANCE Instance;
HWND Main;
HWND Children[LayoutChildCount];
int LogoWidth, LogoHeight;

const char DefaultFolder[] = "C:\\Mock\\Folder";

void Fatal(int code, const char* text)
{
    char title[32];
    std::snprintf(title, sizeof title, "Fatal Error Code %i", code);
    MessageBoxA(nullptr, text, title, MB_OK);
    ExitProcess(1);
}

void ReadLogo()
{
    HRSRC found = FindResourceA(Instance, "LOGO", MAKEINTRESOURCEA(2));
    if (!found) {
        char text[256];
        std::snprintf(text, sizeof text, "can't find resource LOGO\nWin Err Code %lu: mock", GetLastError());
        Fatal(603, text);
    }
    const auto* header = static_cast<const BITMAPINFOHEADER*>(LockResource(LoadResource(Instance, found)));
    LogoWidth = header->biWidth;
    LogoHeight = header->biHeight;
}

void ChooseFolder()
{
    char path[MAX_PATH];
    BROWSEINFOA info{};
    info.hwndOwner = Main;
    info.pszDisplayName = path;
    info.lpszTitle = "select a folder";
    info.ulFlags = BIF_RETURNONLYFSDIRS | BIF_EDITBOX | BIF_NEWDIALOGSTYLE;
    LPITEMIDLIST item = SHBrowseForFolderA(&info);
    bool ok = item && SHGetPathFromIDListA(item, path);
    if (item) CoTaskMemFree(item);
    SetWindowTextA(Children[7], ok ? path : DefaultFolder);
}

LRESULT CALLBACK MainProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam)
{
    switch (message) {
    case WM_CLOSE:
        PostQuitMessage(0);
        return 0;
    case WM_COMMAND:
        if (HIWORD(wParam) != BN_CLICKED && HIWORD(wParam) != BN_DOUBLECLICKED) return 0;
        if (LOWORD(wParam) == 0x404) PostQuitMessage(0);
        if (LOWORD(wParam) == 0x402) ChooseFolder();
        return 0;
    }
    return DefWindowProcA(window, message, wParam, lParam);
}

void Register(const char* name)
{
    WNDCLASSA wc{};
    wc.style = CS_HREDRAW | CS_VREDRAW;
    wc.lpfnWndProc = std::strcmp(name, "MAIN") == 0 ? MainProc : DefWindowProcA;
    wc.hInstance = Instance;
    wc.hCursor = LoadCursorA(nullptr, MAKEINTRESOURCEA(32512));
    wc.hbrBackground = static_cast<HBRUSH>(GetStockObject(LTGRAY_BRUSH));
    wc.lpszClassName = name;
    RegisterClassA(&wc);
}

void CreateAll()
{
    static const struct { const char* cls; const char* text; DWORD style; int id; } table[LayoutChildCount] = {
        {"LOGO", nullptr, 0x50000000, 0},
        {"STATIC", "", 0x50000001, 0},
        {"STATIC", "Operating System", 0x50000001, 0},
        {"STATIC", "Architecture", 0x50000001, 0},
        {"STATIC", "You may need to disable your antivirus before proceeding.", 0x50000001, 0},
        {"STATIC", "", 0x50000001, 0},
        {"STATIC", "", 0x50000001, 0},
        {"STATIC", "", 0x40000001, 0},
        {"msctls_progress32", nullptr, 0x50000000, 0x404},
        {"msctls_progress32", nullptr, 0x40000000, 0x404},
        {"BUTTON", "install in this folder", 0x40000000, 0x401},
        {"BUTTON", "select another folder", 0x40000000, 0x402},
        {"BUTTON", "Exit", 0x40000000, 0x404},
    };
    Main = CreateWindowExA(9, "MAIN", "Software Installation Utility", 0x90C80000, 0, 0, 480, 320, nullptr,
                           nullptr, Instance, nullptr);
    for (int i = 0; i < LayoutChildCount; ++i)
        Children[i] = CreateWindowExA(0, table[i].cls, table[i].text, table[i].style, 0, 0, 0, 0, Main,
                                      reinterpret_cast<HMENU>(static_cast<INT_PTR>(table[i].id)), Instance, nullptr);
}

int Width(HDC dc, const char* text, int* height = nullptr)
{
    SIZE size;
    GetTextExtentPoint32A(dc, text, static_cast<int>(std::strlen(text)), &size);
    if (height) *height = size.cy;
    return size.cx;
}

void Layout()
{
    LayoutInput in{};
    in.logoWidth = LogoWidth;
    in.logoHeight = LogoHeight;
    in.screenWidth = GetSystemMetrics(SM_CXSCREEN);
    in.screenHeight = GetSystemMetrics(SM_CYSCREEN);
    LayoutRect main = ExpectedMainWindow(in);
    MoveWindow(Main, main.x, main.y, main.width, main.height, TRUE);
    RECT client;
    GetClientRect(Main, &client);
    in.clientWidth = client.right;
    HDC dc = GetDC(Main);
    Width(dc, LayoutProbeText, &in.lineHeight);
    in.exitWidth = Width(dc, "**Exit**");
    in.installWidth = Width(dc, "**install in this folder**");
    in.selectWidth = Width(dc, "**select another folder**");
    ReleaseDC(Main, dc);
    LayoutRect rects[LayoutChildCount];
    ExpectedChildren(in, rects);
    const char* fault = std::getenv("MOCK_FAULT");
    if (fault && std::strcmp(fault, "exit-button-shifted") == 0) rects[12].x += 1;
    for (int i = 0; i < LayoutChildCount; ++i)
        MoveWindow(Children[i], rects[i].x, rects[i].y, rects[i].width, rects[i].height, TRUE);
}

void Pump()
{
    MSG msg;
    while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
}

} // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int)
{
    Instance = instance;
    ReadLogo();
    Register("MAIN");
    Register("LOGO");
    InitCommonControls();
    CreateAll();
    Pump();
    Layout();
    SetWindowTextA(Children[1], "This program will install\nVersion 1.0 of Mock\na stand-in\n");
    SetWindowTextA(Children[5], "The files will be stored in the following folder:");
    ShowWindow(Children[8], SW_HIDE);
    ShowWindow(Children[7], SW_SHOW);
    SetWindowTextA(Children[7], DefaultFolder);
    ShowWindow(Children[10], SW_SHOW);
    ShowWindow(Children[11], SW_SHOW);
    Pump();
    MSG msg;
    while (GetMessageA(&msg, nullptr, 0, 0)) {
        TranslateMessage(&msg);
        DispatchMessageA(&msg);
    }
    return static_cast<int>(msg.wParam);
}
