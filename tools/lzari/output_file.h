// The file a result is written to beside its input, which it replaces.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <memory>
#include <string>

#include "tools/common/staged_file.h"

class InputFile;
class Progress;
struct Options;

// An output that appears complete or not at all (staged_file.h), its
// failures thrown as FileError.
class OutputFile {
public:
    explicit OutputFile(const std::string& target);

    void Write(const uint8_t* bytes, size_t count);
    void SetMode(uint32_t mode);
    void SetTimes(const timespec& access, const timespec& modification);
    void Sync();
    // Without `overwrite`, an existing target is left alone and reported.
    void Commit(bool overwrite);

private:
    platform::StagedFile file_;
};

// Refuses a target that is the input or that exists without -f, then
// opens the temporary: it is in place before the input is read, so that
// an interrupted run leaves nothing behind at any stage.
std::unique_ptr<OutputFile> OpenOutputBeside(const Options& options, const InputFile& input, const std::string& target);

// Gives the written output a regular input's mode and the given access and
// modification times (null: the time of writing), renames the temporary
// onto the target if the input is still what was read, and then removes
// a named input unless -k.
void Deliver(const Options& options, const std::string& path, const InputFile& input, OutputFile& output,
             const timespec* times, Progress* progress);
