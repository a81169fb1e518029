// The error table as setup.exe carries it: error_table.cpp in a compact row
// format, compressed with LZARI at build time (pack_error_table.cpp) and
// unpacked on first use into static storage, so that a fatal report can
// still name its error when memory is gone.
//
// A row is one byte, the rise of its code over the previous row's (the first
// row follows code 0), or a 0 byte and the code in 16 bits, little-endian
// two's complement; then the text and its NUL.
#pragma once

#include <stdint.h>

#include "diag/error_text.h"

// Defined by the generated source (error_table_packed.cpp in the build).
extern const uint8_t PackedErrorTable[];
extern const uint32_t PackedErrorTableSize;
extern char UnpackedErrorTable[];  // exactly the size of the unpacked rows
extern const uint32_t UnpackedErrorTableSize;

struct ErrorRowSpan {
    const char* begin;
    const char* end;
};

// The unpacked rows; none if the packed table does not decode.
ErrorRowSpan UnpackedErrorRows();

// Reads the row at `at` into `row`, whose code is the previous row's on
// entry, and returns where the next row starts.
const char* ReadErrorRow(const char* at, ErrorRow* row);
