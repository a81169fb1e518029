#include "tools/common/staged_file.h"

#include <errno.h>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"

namespace platform {

StagedFile::~StagedFile() {
    Discard();
}

bool StagedFile::Open(const std::string& target) {
    const InterruptsHeld held;
    std::string temporary;
    const int descriptor = CreateTemporaryBeside(target, &temporary);
    if (descriptor < 0) return false;
    target_ = target;
    temporary_ = temporary;
    descriptor_ = descriptor;
    slot_ = RegisterTemporary(temporary_);
    if (slot_ >= 0) return true;
    Discard();
    errno = ENAMETOOLONG;
    return false;
}

bool StagedFile::Write(const void* bytes, size_t count) {
    return WriteAll(descriptor_, bytes, count);
}

bool StagedFile::SetMode(uint32_t mode) {
    return platform::SetMode(descriptor_, mode);
}

bool StagedFile::SetTimes(const timespec& access, const timespec& modification) {
    return platform::SetTimes(descriptor_, access, modification);
}

bool StagedFile::Sync() {
    if (descriptor_ < 0) return true;
    const int descriptor = descriptor_;
    descriptor_ = -1;
    return SyncAndClose(descriptor);
}

bool StagedFile::Commit(bool replace) {
    if (!Sync()) return false;
    {
        const InterruptsHeld held;
        if (!Rename(temporary_, target_, replace)) return false;
        ForgetTemporary(slot_);
        slot_ = -1;
        temporary_.clear();
    }
    SyncFolder(target_);
    return true;
}

void StagedFile::Discard() {
    if (descriptor_ >= 0) Close(descriptor_);
    descriptor_ = -1;
    if (temporary_.empty()) return;
    const InterruptsHeld held;
    Remove(temporary_);
    ForgetTemporary(slot_);
    slot_ = -1;
    temporary_.clear();
}

}  // namespace platform
