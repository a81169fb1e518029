// The product the installer carries: texts, file table and target folder.
// mkinstaller writes them into the setup program as its product record
// (product_record.h); ReadProductRecord fills the two globals from it.
#pragma once

#include <windows.h>

struct ProductTexts {
    const char* productName;    // "Varnoset"
    const char* version;        // "2.18"
    const char* defaultFolder;  // "C:\\Holbrine\\Varnoset"
    const char* groupName;      // "Holbrine"
    const char* description;    // three lines joined by '\n'
};

// One row of the file table; five 32-bit words on the i686 target.
struct PayloadRecord {
    const char* name;   // file name as installed and name of its RCDATA resource
    BYTE* data;         // decoded contents, filled at start-up, never freed
    DWORD size;         // decoded length
    FILETIME fileTime;  // stamp from the payload's container
};

extern ProductTexts InstallManifest;
extern PayloadRecord* FileTable;  // ended by a row whose name is null
// Per FileTable row: written only when nothing of its name exists yet.
extern const bool* KeepExistingRows;

// Reads the product record; never returns on failure.
void ReadProductRecord();

enum { PathBufferSize = MAX_PATH };
extern char InstallFolder[PathBufferSize];

// Finds, loads and locks a resource; never returns on failure.
struct ResourceBytes {
    const BYTE* bytes;
    DWORD size;
};
ResourceBytes GetResource(const char* name, int type);
