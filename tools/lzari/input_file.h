// Opening and reading the files the tool is given.
#pragma once

#include <stdint.h>

#include <memory>
#include <string>
#include <vector>

#include "tools/common/platform.h"
#include "tools/lzari/input_bytes.h"

class Progress;

// What an input may be besides a regular file with one name. Inputs that
// are replaced by a file beside them are held to the strict rules unless
// forced; inputs read for standard output, -t or -l are not.
struct InputRules {
    bool followLinks = true;
    bool allowHardLinks = true;
    bool allowSpecial = true;  // FIFOs and devices
};

struct Options;

// The rules for one input of the command: strict when a file beside it will
// replace it, unless -f.
InputRules RulesFor(const Options& options, const std::string& path);

// An open input of at most 4 GiB, "-" being standard input; closed on
// destruction. Opening never waits for a FIFO's writer.
class InputFile {
public:
    InputFile(const std::string& path, const InputRules& rules);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    // The name used in messages.
    const std::string& name() const { return name_; }
    bool isStandardInput() const { return standardInput_; }
    const platform::FileStatus& status() const { return status_; }
    // What the file system says; 0 for pipes and for files such as those in
    // /proc, whose content is only known once read.
    uint64_t sizeHint() const { return status_.regular ? status_.size : 0; }

    // Reads to the end, then checks that the file did not change meanwhile.
    std::vector<uint8_t> ReadAll(Progress* progress);
    // The whole content: a regular file with a size is mapped where the
    // system can, and must be checked with CheckUnchanged once used; a pipe
    // or device is copied to a nameless temporary file and mapped; anything
    // else, or where no temporary can be made, is read with ReadAll.
    std::unique_ptr<InputBytes> Load(Progress* progress);
    // Throws when the file's size or modification time moved since it was
    // opened, or when it held more bytes than its size said.
    void CheckUnchanged() const;

private:
    void Open(const std::string& path, const InputRules& rules);
    std::unique_ptr<InputBytes> Spool(Progress* progress);
    void Close();

    std::string name_;
    bool standardInput_ = false;
    int descriptor_ = -1;
    platform::FileStatus status_;
    uint64_t bytesRead_ = 0;
};

// True when both paths name the same file (same device and inode).
bool IsSameFile(const platform::FileStatus& status, const std::string& otherPath);

void RemoveInput(const std::string& path);
