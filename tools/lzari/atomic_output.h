// An output file that appears complete or not at all: the bytes go to a
// temporary file beside the target, which is renamed onto the target only
// after everything (data, mode, times, fsync) has succeeded. Destroying an
// uncommitted output removes the temporary, and so does a terminating
// interruption (platform.h).
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <string>

class Progress;

class AtomicOutput {
public:
    explicit AtomicOutput(std::string target);
    ~AtomicOutput();
    AtomicOutput(const AtomicOutput&) = delete;
    AtomicOutput& operator=(const AtomicOutput&) = delete;

    void Write(const uint8_t* bytes, size_t count, Progress* progress);
    void SetMode(uint32_t mode);
    void SetTimes(const timespec& access, const timespec& modification);
    // Writes the data through to the disk; the temporary stays hidden.
    void Sync();
    // Syncs unless done, then renames. Without `overwrite`, an existing
    // target is left alone and reported.
    void Commit(bool overwrite);

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    bool committed_ = false;
};

// Refuses early, before any work, when the target exists and may not be replaced.
void RefuseExistingTarget(const std::string& target, bool overwrite);

// Writes all bytes to standard output.
void WriteToStandardOutput(const uint8_t* bytes, size_t count);
