// Everything a product adds to the stub, as resources: the product record,
// one payload per file, the logo, the icon, the version and the execution
// manifest.
#pragma once

#include <string>
#include <vector>

#include "tools/mkinstaller/manifest.h"
#include "tools/mkinstaller/packer.h"
#include "tools/mkinstaller/resource_section.h"

// `logo` is the packed bitmap (LogoFromFile), `icon` the whole .ico file,
// both already checked.
std::vector<Resource> SetupResources(const ProductManifest& manifest, const PackResult& packed,
                                     const std::vector<uint8_t>& logo, const std::vector<uint8_t>& icon);

// The application manifest: the execution level the product asks for and
// nothing else. A compatibility section would change the Windows version the
// installer is told, which its version check relies on.
std::string ExecutionManifest(bool requireAdministrator);

// The product record's bytes (see common/product_record.h).
std::string ProductRecord(const ProductManifest& manifest);
