// printf-style formatting into a fixed buffer that never writes past it and
// tells whether the whole text fitted. Portable: no Win32.
#pragma once

#include <stdarg.h>
#include <stddef.h>

// True when the complete text and its terminator fit into `size` bytes.
// On false the buffer holds a terminated prefix (or nothing usable) and must
// not be shown as if it were the whole text.
bool FormatBounded(char* buffer, size_t size, const char* format, ...) __attribute__((format(printf, 3, 4)));
bool FormatBoundedList(char* buffer, size_t size, const char* format, va_list args)
    __attribute__((format(printf, 3, 0)));
