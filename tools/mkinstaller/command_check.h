// The command's own checks, made with the manifest's before anything is
// packed: the stub is one of this release, every source folder
// exists, and every file the command writes lies in a folder that takes new
// files and is none of its inputs.
#pragma once

#include <string>
#include <vector>

#include "problems.h"

struct Output {
    std::string option;  // "-o", "--depfile"
    std::string path;
};

struct Command {
    std::vector<std::string> inputs;  // manifest, logo, icon, sources, stub; "" for none
    std::vector<Output> outputs;      // each written into a folder that exists
    std::vector<std::string> sourceDirs;
    std::string stub;                 // "" when none was found
};

void CheckCommand(const Command& command, ProblemList& problems);
