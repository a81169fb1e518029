// Reads a product manifest (TOML) into a ProductManifest. Every problem of
// form is collected: malformed TOML, unknown or missing keys, wrong types,
// texts outside Windows-1252, inputs that cannot be found or read.
#pragma once

#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"
#include "tools/mkinstaller/problems.h"

struct ManifestLocation {
    std::string path;                     // the manifest file
    std::vector<std::string> sourceDirs;  // searched in order, before the manifest's folder
    // What goes into the setup program (sources, logo, icon) must lie in the
    // manifest's folder or a source folder, also once links are followed,
    // unless this allows it.
    bool allowOutsideInputs = false;
};

// Returns nothing only when the TOML itself cannot be parsed.
std::optional<ProductManifest> ReadManifest(const ManifestLocation& source, ProblemList& problems);

// The same for a manifest's text, read from `source.path` already.
std::optional<ProductManifest> ReadManifestText(const std::string& text, const ManifestLocation& source,
                                                ProblemList& problems);
