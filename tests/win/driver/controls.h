// Finding the installer's main window and its children by role or text.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

// The children of WINDOW in creation order (first created first).
std::vector<HWND> ChildrenInCreationOrder(HWND window);

// The "MAIN" window of the installer, waiting up to TIMEOUT_MS for it.
bool FindMainWindow(DWORD timeoutMs, std::string& error);

// A control by role name (LogoWindow ... ExitButton), "MainWindow", or the
// exact text of one of the main window's children.
bool ResolveControl(const std::string& name, HWND& control, std::string& error);

// The child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
