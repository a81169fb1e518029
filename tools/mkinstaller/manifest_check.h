// Checks of a read manifest against what the installer can carry and do:
// file names, row count, text sizes, the default folder, path lengths, the
// shortcut target row, the logo, the icon and the files' total size.
#pragma once

#include <cstdint>

#include "tools/mkinstaller/manifest.h"
#include "tools/mkinstaller/problems.h"

enum {
    MaxRows = 65535,        // the progress bars take the row count as 16 bits
    WindowTextSize = 1024,  // the installer's formatted-text buffer
    MaxPathLength = 259,    // MAX_PATH without the terminator
};

// The installer decodes every file into memory before it writes any.
const uint64_t MaxProductBytes = uint64_t{1} << 30;

void CheckManifest(const ProductManifest& manifest, ProblemList& problems);
