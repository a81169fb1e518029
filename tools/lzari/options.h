// The command line, once parsed.
#pragma once

#include <string>
#include <vector>

enum class Mode { Compress, Decompress, List, Test };

struct Options {
    Mode mode = Mode::Compress;
    bool toStandardOutput = false;
    bool keepInput = false;
    bool force = false;
    bool legacy = false;
    bool verbose = false;
    std::string outputName;
    std::vector<std::string> files;
};
