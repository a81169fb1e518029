// Reads the parts of a shell link (.lnk) file that the installer sets:
// where it points, the folder the program starts in, its comment and how
// its window opens. Portable: the file's bytes are parsed, nothing is run.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

struct ShellLink {
    std::string target;         // the link information's local path, UTF-8
    std::string workingFolder;  // UTF-8; empty when the link has none
    std::string description;    // UTF-8; empty when the link has none
    uint32_t showCommand = 0;
};

// Nothing, with ERROR saying why, for bytes that are no whole shell link.
std::optional<ShellLink> ParseShellLink(const std::vector<uint8_t>& bytes, std::string& error);
