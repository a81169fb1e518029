// The command line, once parsed.
#pragma once

#include <string>
#include <vector>

enum class Mode { Compress, Decompress, List, Test };

// The name that stands for standard input and, after -o, standard output.
constexpr const char* StandardStream = "-";

struct Options {
    Mode mode = Mode::Compress;
    bool toStandardOutput = false;
    bool keepInput = false;
    bool force = false;
    bool legacy = false;
    bool verbose = false;
    bool quiet = false;
    std::string suffix = ".lzr";
    std::string outputName;
    std::vector<std::string> files;
};

// Whether the result for `path` goes to standard output rather than a file:
// with -c, and for standard input unless -o names a file.
inline bool WritesToStandardOutput(const Options& options, const std::string& path) {
    return options.toStandardOutput || (path == StandardStream && options.outputName.empty());
}
