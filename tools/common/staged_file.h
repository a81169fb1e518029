// An output file that appears complete or not at all: the bytes go to a
// temporary file beside the target, which is renamed onto the target only by
// Commit, after data, mode and times are written through to the disk. So
// several outputs can be written in full before any of them replaces its
// target. Until then the temporary is removed when the object goes away or
// an interruption ends the tool (interrupt_cleanup.h). Each call returns
// false with errno set on failure; the tool words the message.
#pragma once

#include <stddef.h>
#include <stdint.h>
#include <time.h>

#include <string>

namespace platform {

class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // Creates the temporary beside `target`.
    bool Open(const std::string& target);
    bool Write(const void* bytes, size_t count);
    bool SetMode(uint32_t mode);
    bool SetTimes(const timespec& access, const timespec& modification);
    // Writes the data through to the disk; the temporary stays hidden.
    bool Sync();
    // Syncs unless done, then renames. Without `replace`, an existing target
    // is left alone and errno is EEXIST.
    bool Commit(bool replace);
    const std::string& target() const { return target_; }

private:
    void Discard();

    std::string target_;
    std::string temporary_;
    int descriptor_ = -1;
    int slot_ = -1;
};

}  // namespace platform
