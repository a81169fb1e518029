// Checks of a read manifest against what the installer can carry and do:
// file names, row count, text sizes, the default folder, path lengths, the
// shortcut target row, the logo and the icon.
#pragma once

#include "manifest.h"
#include "problems.h"

enum {
    MaxRows = 65535,          // the progress bars take the row count as 16 bits
    WindowTextSize = 1024,    // the installer's formatted-text buffer
    MaxPathLength = 259,      // MAX_PATH without the terminator
};

void CheckManifest(const ProductManifest& manifest, ProblemList& problems);
