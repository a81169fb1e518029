// The command's own checks, made with the manifest's before anything is
// packed: the runtime and the toolchain can be found, every source folder
// exists, and every file the command writes lies in a folder that takes new
// files and is none of its inputs.
#pragma once

#include <string>
#include <vector>

#include "problems.h"
#include "toolchain.h"

struct Output {
    std::string option;  // "-o", "--depfile", "--keep-sources"
    std::string path;
};

struct Command {
    std::vector<std::string> inputs;  // manifest, logo, icon, sources, runtime; "" for none
    std::vector<Output> outputs;      // each written into a folder that exists
    std::string keepFolder;           // made when missing, "" for none
    std::vector<Output> keptFiles;    // written into keepFolder
    std::vector<std::string> sourceDirs;
    Toolchain toolchain;
};

void CheckCommand(const Command& command, ProblemList& problems);
