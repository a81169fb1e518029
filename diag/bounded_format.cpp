#include "diag/bounded_format.h"

#include <stdio.h>

#ifdef _WIN32
// The C library's own. For a text that does not fit with its terminator it
// gives -1 or the text's length rather than the length needed, which fails the
// same test below; MinGW's vsnprintf wraps it in a pre-pass that the installer
// would carry for nothing.
#define vsnprintf _vsnprintf
#endif

bool FormatBoundedList(char* buffer, size_t size, const char* format, va_list args) {
    if (size == 0) return false;
    // vsnprintf reports the length the complete text would need; a negative
    // result means the format itself failed.
    int needed = vsnprintf(buffer, size, format, args);
    buffer[size - 1] = '\0';
    return needed >= 0 && static_cast<size_t>(needed) < size;
}

bool FormatBounded(char* buffer, size_t size, const char* format, ...) {
    va_list args;
    va_start(args, format);
    bool fits = FormatBoundedList(buffer, size, format, args);
    va_end(args);
    return fits;
}
