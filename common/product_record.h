// The product record: the texts and file names that mkinstaller writes into
// a setup program as one resource, and the installer reads at start-up.
// Portable: no Win32, so both sides are tested natively.
//
// Layout: Windows-1252 texts, each ended by a NUL byte: product name,
// version, default folder, Start-menu group, description (lines joined by
// '\n'), then one file name per row in install order, then an empty text.
// A row written only when nothing of its name exists yet (the manifest's
// keep_existing) has KeepExistingMark before its name; no file name holds
// it, so a record without such rows reads as it always did.
#pragma once

#include <stddef.h>

enum { ProductRecordType = 256 };  // resource type; the resource is named "PRODUCT"
#define PRODUCT_RECORD_NAME "PRODUCT"

enum {
    ProductTextCount = 5,
    MaxProductRows = 65535,
    // No text of a sound record is longer: the intro text, which holds the
    // longest, fits the window's 1024-byte text buffer; a file name fits a path.
    MaxProductText = 1023,
    MaxProductName = 259,
};
enum { KeepExistingMark = '*' };

// The window's intro text: version, product name, description.
#define INTRO_TEXT_FORMAT "This program will install\nVersion %s of %s\n%s\n"

struct ProductRecordView {
    const char* texts[ProductTextCount];
    const char* firstName;  // the stored rows follow each other, NUL-separated
    unsigned rows;
};

struct ProductRow {
    const char* name;
    bool keepExisting;
};

// Checks a record in place: every text ended within `size` bytes and at
// most MaxProductText long, as the intro text made of them, a name per row that keeps the file-name rules
// and is at most MaxProductName long, at most MaxProductRows rows, and
// nothing after the empty text. A product name and a group that the rules
// allow as file and folder names, as mkinstaller writes them. False for
// anything else: a setup program may have been edited by hand.
bool ParseProductRecord(const char* bytes, size_t size, ProductRecordView* view);

// The row stored at *STORED (first view.firstName) of a parsed record;
// moves *STORED to the next one.
ProductRow ReadProductRow(const char** stored);
