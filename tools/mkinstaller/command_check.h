// The command's own checks, made with the manifest's before anything is
// packed: the stub is one of this release built for the product's arch, every source folder
// exists, and every file the command writes lies in a folder that takes new
// files and is none of its inputs.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "tools/mkinstaller/problems.h"
#include "tools/mkinstaller/windows_arch.h"

struct Output {
    std::string option;  // "-o", "--depfile"
    std::string path;
};

struct Command {
    std::vector<std::string> inputs;  // manifest, logo, icon, sources, stub; "" for none
    std::vector<Output> outputs;      // each written into a folder that exists
    std::vector<std::string> sourceDirs;
    std::string stub;          // "" when none was found
    std::optional<Arch> arch;  // the product's; nothing when the manifest gives none to go by
    std::string archOrigin;    // where the manifest sets it ("manifest.toml:9"), "" for the default
};

void CheckCommand(const Command& command, ProblemList& problems);

// SOURCE_DATE_EPOCH (`value`, null when unset): seconds since 1970, the
// latest time a payload may carry, as a FILETIME.
std::optional<uint64_t> ReadSourceDateEpoch(const char* value, ProblemList& problems);
