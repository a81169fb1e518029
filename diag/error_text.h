// Text of a Windows error number, from the installer's own table.
// Portable: no Win32, so it is tested natively.
#pragma once

#include <stdint.h>

struct ErrorRow {
    int32_t code;
    const char* text;
};

// Never null. Unknown codes give "unknown error code %i" in a static buffer
// that the next unknown code overwrites.
const char* ErrorText(int32_t code);
