// The installer's main window and its children. The driver addresses a child
// by its role name: the n-th child of "MAIN" in creation order has the n-th role.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

enum { ChildRoleCount = 13 };
extern const char* const ChildRoleNames[ChildRoleCount];

// The "MAIN" window of the installer, waiting up to TIMEOUT_MS for it.
bool FindMainWindow(DWORD timeoutMs, std::string& error);

// The main window's children in creation order, waiting up to 5 s for all
// thirteen to exist.
bool AllChildren(std::vector<HWND>& children, std::string& error);

// A control by role name (LogoWindow ... ExitButton), "MainWindow", or the
// exact text of one of the main window's children.
bool ResolveControl(const std::string& name, HWND& control, std::string& error);

// The child's rectangle in its parent's client coordinates.
RECT ChildRect(HWND child);
