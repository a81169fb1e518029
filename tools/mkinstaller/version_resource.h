// The version resource: what Windows shows in a setup program's properties.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"

// Product name and version, the description's "by" line as the company,
// and "<name> Setup" as the file description; the version's leading numbers
// (up to four, "2.18" is 2.18.0.0) as the numeric file and product version.
std::vector<uint8_t> VersionResource(const ProductManifest& manifest);

// Why VERSION cannot give the numeric version ("v2" has no number, 70000 is
// more than a part holds), or "".
std::string VersionProblem(const std::string& version);
