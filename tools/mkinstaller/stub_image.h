// The stub: the installer runtime linked as a finished 32-bit program with
// no resources. A product's setup.exe is a copy of it with the product's
// resources added as one new section.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "resource_section.h"

// Why `image` cannot serve as the stub of this release, or "" when it can:
// not a 32-bit Windows program, already carrying resources or a signature,
// no room for another section, or built for another release.
std::string StubProblem(const std::vector<uint8_t>& image);

// Appends the resource section to a stub that StubProblem accepted and
// updates the headers: section count, image size, initialised data, the
// resource directory and the checksum.
void AddResourceSection(std::vector<uint8_t>& image, const std::vector<Resource>& resources);

// The text every stub of this release carries, and mkinstaller looks for.
std::string StubReleaseMark();
