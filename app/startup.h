// The start-up stages that WinMain runs in order, and the final loop.
#pragma once

#include <windows.h>

void RegisterWindowClass(const char* className, WNDPROC windowProc, HBRUSH background, const char* cursorName,
                         UINT extraStyle);
void CreateWindows();
void LayoutWindows();
int RunMessageLoop();

LRESULT CALLBACK MainWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
LRESULT CALLBACK LogoWndProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
