#include "tools/lzari/atomic_output.h"

#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/stat.h>
#include <unistd.h>

#include <vector>

#include "tools/lzari/file_error.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/signal_cleanup.h"

namespace {

constexpr size_t WriteChunk = 1u << 20;
constexpr const char* ExistsCause = "already exists; use -f to overwrite";

std::string DirectoryOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    if (slash == 0) return "/";
    return path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

void WriteFully(int fd, const uint8_t* bytes, size_t count, const std::string& name, Progress* progress) {
    size_t done = 0;
    while (done < count) {
        const size_t want = count - done < WriteChunk ? count - done : WriteChunk;
        const ssize_t written = write(fd, bytes + done, want);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) throw SystemError(name);
        done += static_cast<size_t>(written);
        if (progress) progress->Advance("writing", done, count);
    }
}

// Moves the temporary onto the target without replacing an existing file.
int RenameWithoutReplacing(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // The file system cannot rename exclusively; a hard link is just as safe.
    if (link(from, to) != 0) return -1;
    unlink(from);
    return 0;
}

void SyncDirectory(const std::string& directory) {
    const int fd = open(directory.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) return;
    fsync(fd);  // Best effort: the rename itself has already succeeded.
    close(fd);
}

}  // namespace

AtomicOutput::AtomicOutput(std::string target) : target_(std::move(target)) {
    std::string pattern = DirectoryOf(target_) + "/." + BaseNameOf(target_) + ".XXXXXX";
    std::vector<char> name(pattern.begin(), pattern.end());
    name.push_back('\0');
    SignalsHeld held;
    fd_ = mkostemp(name.data(), O_CLOEXEC);
    if (fd_ < 0) throw SystemError(target_);
    temporary_ = name.data();
    if (!RegisterTemporary(temporary_)) {
        Discard();
        throw FileError(target_, "file name too long");
    }
}

AtomicOutput::~AtomicOutput() {
    if (!committed_) Discard();
}

void AtomicOutput::Write(const uint8_t* bytes, size_t count, Progress* progress) {
    WriteFully(fd_, bytes, count, target_, progress);
}

void AtomicOutput::SetMode(mode_t mode) {
    if (fchmod(fd_, mode & 07777) != 0) throw SystemError(target_);
}

void AtomicOutput::SetTimes(const timespec& access, const timespec& modification) {
    const timespec times[2] = {access, modification};
    if (futimens(fd_, times) != 0) throw SystemError(target_);
}

void AtomicOutput::Sync() {
    if (fd_ < 0) return;
    if (fsync(fd_) != 0) throw SystemError(target_);
    const int fd = fd_;
    fd_ = -1;
    if (close(fd) != 0) throw SystemError(target_);
}

void AtomicOutput::Commit(bool overwrite) {
    Sync();
    {
        SignalsHeld held;
        const int renamed = overwrite ? rename(temporary_.c_str(), target_.c_str())
                                      : RenameWithoutReplacing(temporary_.c_str(), target_.c_str());
        if (renamed != 0) {
            const FileError error = errno == EEXIST ? FileError(target_, ExistsCause) : SystemError(target_);
            throw error;
        }
        ForgetTemporary();
        committed_ = true;
    }
    SyncDirectory(DirectoryOf(target_));
}

void AtomicOutput::Discard() {
    if (fd_ >= 0) close(fd_);
    fd_ = -1;
    SignalsHeld held;
    unlink(temporary_.c_str());
    ForgetTemporary();
}

void RefuseExistingTarget(const std::string& target, bool overwrite) {
    struct stat status {};
    if (lstat(target.c_str(), &status) != 0) return;
    if (!overwrite) throw FileError(target, ExistsCause);
    if (S_ISDIR(status.st_mode)) throw FileError(target, "is a directory");
}

void WriteToStandardOutput(const uint8_t* bytes, size_t count) {
    WriteFully(STDOUT_FILENO, bytes, count, "(stdout)", nullptr);
}
