// The fatal report and its formatted window-text sibling.
#pragma once

#include <windows.h>

// Shows "Fatal Error Code <code>" with the formatted message and ends the
// process with exit code 1. A message of 1024 characters or more ends the
// process through FatalAppExitA instead.
[[noreturn]] void Abort(int code, const char* format, ...);

// The fatal report of a failed Win32 call: what failed, with a detail (a
// path, a resource name) filling its %s, then "Win Err Code" and the
// thread's last error with its text, on a line of their own.
[[noreturn]] void AbortWithLastError(int code, const char* what, const char* detail = nullptr);

// Formats into a 1024-byte buffer and sets it as the window's text; a text
// that does not fit ends the process through FatalAppExitA.
void WindowText(HWND window, const char* format, ...);
