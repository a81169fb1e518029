// Rules for a name that the installer creates in a folder: a payload file,
// the shortcut file and the Start-menu group folder. mkinstaller refuses a
// product that breaks them, and the installer refuses a product record that
// does, as a hand-edited setup program could. Portable: no Win32; works on
// the Windows-1252 bytes the installer passes to the file system.
#pragma once

#include <stddef.h>

enum FileNameFault {
    FileNameUsable,
    FileNameEmpty,
    FileNameControl,    // a byte below 0x20, or DEL
    FileNameFolder,     // '\' or '/': a name may not hold a folder
    FileNameColon,      // a drive or stream separator
    FileNameForbidden,  // < > " | ? *
    FileNameDotDot,
    FileNameTrailingDot,    // Windows drops it from file names
    FileNameTrailingSpace,  // likewise
    FileNameDevice,         // CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9
};

// The first rule that the `length` bytes at `name` break, or FileNameUsable.
// For the character faults, `*character` (when not null) is the character.
FileNameFault CheckFileName(const char* name, size_t length, char* character);
