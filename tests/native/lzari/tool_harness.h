// Runs the real lzari binary in a throwaway folder and inspects what it left.
#pragma once

#include <stdint.h>
#include <sys/resource.h>
#include <sys/stat.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "tests/native/scratch_folder.h"

struct ToolResult {
    int exitCode = -1;
    std::string out;
    std::string err;  // empty when standard error is a terminal
    std::string terminal;
};

class TempFolder : public ScratchFolder {
public:
    TempFolder();

    void SetTimes(const std::string& name, const timespec& access, const timespec& modification) const;

    // With `terminal`, standard error is a pseudo-terminal. A non-zero
    // `fileSizeLimit` makes the tool's writes past that many bytes fail.
    // Standard input holds `input`, or is /dev/null.
    ToolResult Run(const std::vector<std::string>& args, bool terminal = false, rlim_t fileSizeLimit = 0,
                   const std::optional<std::string>& input = std::nullopt) const;
    // Runs the tool, with the signal `ignored` ignored (as under nohup), and calls
    // `act` with its process id as soon as a hidden temporary appears in the folder.
    ToolResult RunUntilTemporary(const std::vector<std::string>& args, const std::function<void(pid_t)>& act, int ignored = 0) const;

private:
    pid_t Start(const std::vector<std::string>& args, int terminal, rlim_t fileSizeLimit, bool withInput, int ignored = 0) const;
    ToolResult Finish(pid_t child, int terminal) const;
    bool HasTemporary() const;
};

std::string TextBytes(size_t size);
std::string RandomBytes(size_t size, uint32_t seed);

// In-process codec: a version 1 container of `bytes` (FILETIME 0), and what a
// container decodes to (*version -2 when it does not decode).
std::string ContainerOf(const std::string& bytes);
// The version 0 container of the same bytes.
std::string LegacyOf(const std::string& container);
std::string DecodeContainer(const std::string& container, int* version);
