// Joining texts into fixed path buffers without overflow or truncation.
// Portable: no Win32, so it is tested natively.
#pragma once

#include <stddef.h>

// Writes the concatenation of `count` texts into `out` (capacity bytes,
// terminator included). When the result would not fit, nothing but an empty
// text is left in `out` and the result is false: a cut path is never used.
// No part may overlap `out`.
bool JoinPath(char* out, size_t capacity, const char* const* parts, int count);

template <size_t Capacity, size_t Count>
bool JoinPath(char (&out)[Capacity], const char* const (&parts)[Count]) {
    return JoinPath(out, Capacity, parts, static_cast<int>(Count));
}

// Copies one text; the same rules as JoinPath.
bool CopyPath(char* out, size_t capacity, const char* text);
