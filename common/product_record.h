// The product record: the texts and file names that mkinstaller writes into
// a setup program as one resource, and the installer reads at start-up.
// Portable: no Win32, so both sides are tested natively.
//
// Layout: Windows-1252 texts, each ended by a NUL byte: product name,
// version, default folder, Start-menu group, description (lines joined by
// '\n'), then one file name per row in install order, then an empty text.
#pragma once

#include <stddef.h>

enum { ProductRecordType = 256 };  // resource type; the resource is named "PRODUCT"
#define PRODUCT_RECORD_NAME "PRODUCT"

enum { ProductTextCount = 5, MaxProductRows = 65535 };

// The window's intro text: version, product name, description.
#define INTRO_TEXT_FORMAT "This program will install\nVersion %s of %s\n%s\n"

struct ProductRecordView {
    const char* texts[ProductTextCount];
    const char* firstName;  // the names follow each other, NUL-separated
    unsigned rows;
};

// Checks a record in place: every text ended within `size` bytes, a
// non-empty name per row, at most MaxProductRows rows, and nothing after
// the empty text. False for anything else.
bool ParseProductRecord(const char* bytes, size_t size, ProductRecordView* view);
