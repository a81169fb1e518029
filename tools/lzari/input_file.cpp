#include "tools/lzari/input_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "tools/lzari/file_error.h"
#include "tools/lzari/progress.h"

namespace {

// The container's size field is 32 bits wide.
constexpr uint64_t LargestInput = UINT32_MAX;
constexpr size_t ReadChunk = 1u << 20;

}  // namespace

InputFile::InputFile(const std::string& path) : path_(path) {
    fd_ = open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd_ < 0) throw SystemError(path);
    if (fstat(fd_, &status_) != 0) throw SystemError(path);
    if (S_ISDIR(status_.st_mode)) throw FileError(path, "is a directory");
    if (!S_ISREG(status_.st_mode)) throw FileError(path, "not a regular file");
    if (size() > LargestInput) throw FileError(path, "file too large (over 4 GiB)");
}

InputFile::~InputFile() {
    if (fd_ >= 0) close(fd_);
}

std::vector<uint8_t> InputFile::ReadAll(Progress* progress) {
    std::vector<uint8_t> bytes(size());
    size_t done = 0;
    while (done < bytes.size()) {
        const size_t want = bytes.size() - done < ReadChunk ? bytes.size() - done : ReadChunk;
        const ssize_t got = pread(fd_, bytes.data() + done, want, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw SystemError(path_);
        if (got == 0) throw FileError(path_, "file shrank while being read");
        done += static_cast<size_t>(got);
        if (progress) progress->Advance("reading", done, bytes.size());
    }
    return bytes;
}

void InputFile::ReadAt(uint64_t offset, uint8_t* bytes, size_t count) {
    size_t done = 0;
    while (done < count) {
        const ssize_t got = pread(fd_, bytes + done, count - done, static_cast<off_t>(offset + done));
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw SystemError(path_);
        if (got == 0) throw FileError(path_, "file shrank while being read");
        done += static_cast<size_t>(got);
    }
}

bool IsSameFile(const struct stat& status, const std::string& otherPath) {
    struct stat other {};
    if (stat(otherPath.c_str(), &other) != 0) return false;
    return other.st_dev == status.st_dev && other.st_ino == status.st_ino;
}

void RemoveInput(const std::string& path) {
    if (unlink(path.c_str()) != 0) throw SystemError(path);
}
