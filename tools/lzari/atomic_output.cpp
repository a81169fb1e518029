#include "tools/lzari/atomic_output.h"

#include <errno.h>

#include "tools/lzari/file_error.h"
#include "tools/lzari/platform.h"
#include "tools/lzari/progress.h"

namespace {

constexpr size_t WriteChunk = 1u << 20;
constexpr const char* ExistsCause = "already exists; use -f to overwrite";

void WriteFully(int descriptor, const uint8_t* bytes, size_t count, const std::string& name, Progress* progress) {
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done < WriteChunk ? count - done : WriteChunk;
        const long written = platform::Write(descriptor, bytes + done, want);
        if (written < 0) throw SystemError(name);
        done += static_cast<size_t>(written);
        if (progress) progress->Advance("writing", done, count);
    }
}

}  // namespace

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {
    platform::InterruptsHeld held;
    descriptor_ = platform::CreateTemporaryBeside(target_, &temporary_);
    if (descriptor_ < 0) throw SystemError(target_);
    if (!platform::RegisterTemporary(temporary_)) {
        Discard();
        throw FileError(target_, "file name too long");
    }
}

AtomicOutput::~AtomicOutput() {
    if (!committed_) Discard();
}

void AtomicOutput::Write(const uint8_t* bytes, size_t count, Progress* progress) {
    WriteFully(descriptor_, bytes, count, target_, progress);
}

void AtomicOutput::SetMode(uint32_t mode) {
    if (!platform::SetMode(descriptor_, mode)) throw SystemError(target_);
}

void AtomicOutput::SetTimes(const timespec& access, const timespec& modification) {
    if (!platform::SetTimes(descriptor_, access, modification)) throw SystemError(target_);
}

void AtomicOutput::Sync() {
    if (descriptor_ < 0) return;
    const int descriptor = descriptor_;
    descriptor_ = -1;
    if (!platform::SyncAndClose(descriptor)) throw SystemError(target_);
}

void AtomicOutput::Commit(bool overwrite) {
    Sync();
    {
        platform::InterruptsHeld held;
        if (!platform::Rename(temporary_, target_, overwrite)) {
            const FileError error = errno == EEXIST ? FileError(target_, ExistsCause) : SystemError(target_);
            throw error;
        }
        platform::ForgetTemporary();
        committed_ = true;
    }
    platform::SyncFolder(target_);
}

void AtomicOutput::Discard() {
    if (descriptor_ >= 0) platform::Close(descriptor_);
    descriptor_ = -1;
    platform::InterruptsHeld held;
    platform::Remove(temporary_);
    platform::ForgetTemporary();
}

void RefuseExistingTarget(const std::string& target, bool overwrite) {
    platform::FileStatus status;
    if (!platform::PathStatus(target, false, &status)) return;
    if (!overwrite) throw FileError(target, ExistsCause);
    if (status.directory) throw FileError(target, "is a directory");
}

void WriteToStandardOutput(const uint8_t* bytes, size_t count) {
    WriteFully(platform::StandardOutput, bytes, count, "(stdout)", nullptr);
}
