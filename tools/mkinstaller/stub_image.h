// The stub: the installer runtime linked as a finished 32-bit (PE32) or
// 64-bit (PE32+) program with no resources. A product's setup.exe is a copy
// of it with the product's resources added as one new section.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/resource_section.h"
#include "tools/mkinstaller/windows_arch.h"

// Why `image` cannot serve as the stub of this release, or "" when it can:
// not an x86 or x64 Windows program whose machine and headers agree, already
// carrying resources or a signature, no room for another section, or built
// for another release.
std::string StubProblem(const std::vector<uint8_t>& image);

// The machine a Windows program (a stub, a setup.exe, the GUI driver) is
// built for; nothing when it is not an x86 or x64 program whose headers
// agree and lie within `image`, which may be only the file's start.
std::optional<Arch> ImageArch(const std::vector<uint8_t>& image);

// Appends the resource section to a stub that StubProblem accepted and
// updates the headers: section count, image size, initialised data, the
// resource directory and the checksum. The headers then follow the DOS
// header at once, and the sections' data the headers, where the stub
// allows it. Why it cannot, with the image untouched, or "".
std::string AddResourceSection(std::vector<uint8_t>& image, const std::vector<Resource>& resources);

// The text every stub of this release carries, and mkinstaller looks for.
std::string StubReleaseMark();
