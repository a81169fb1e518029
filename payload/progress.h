// The progress protocol shared by unpacking and writing: show the bar, set
// the range 0..rows, set the position before each row and once after the
// last, hide the bar.
#pragma once

#include <windows.h>

// Rows before the terminator, as the 16-bit value the bar's range takes.
WORD CountRows();

void StartProgress(HWND bar, WORD rows);
void SetProgress(HWND bar, WORD position);
void EndProgress(HWND bar, WORD rows);
