// The fatal report and its formatted window-text sibling.
#pragma once

#include <windows.h>

// Shows "Fatal Error Code <code>" with the formatted message and ends the
// process with exit code 1. A message of 1024 characters or more ends the
// process through FatalAppExitA instead.
[[noreturn]] void Abort(int code, const char* format, ...);

// The fatal report of a failed Win32 call. The format ends in
// "Win Err Code %i: %s", which take the thread's last error and its text;
// a detail (a path, a resource name) fills a %s before them.
[[noreturn]] void AbortWithLastError(int code, const char* format, const char* detail = nullptr);

// Formats into a 1024-byte buffer and sets it as the window's text; a text
// that does not fit ends the process through FatalAppExitA.
void WindowText(HWND window, const char* format, ...);
