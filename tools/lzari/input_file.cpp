#include "tools/lzari/input_file.h"

#include <errno.h>
#include <fcntl.h>
#include <unistd.h>

#include "tools/lzari/file_error.h"
#include "tools/lzari/options.h"
#include "tools/lzari/progress.h"

namespace {

// The container's size field is 32 bits wide.
constexpr uint64_t LargestInput = UINT32_MAX;
constexpr size_t ReadChunk = 1u << 20;
constexpr const char* TooLarge = "file too large (over 4 GiB)";

std::string LinksCause(nlink_t links) {
    const unsigned long others = static_cast<unsigned long>(links - 1);
    return "has " + std::to_string(others) + (others == 1 ? " other link" : " other links") + "; use -f";
}

bool SameTime(const timespec& a, const timespec& b) { return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec; }

}  // namespace

InputRules RulesFor(const Options& options, const std::string& path) {
    const bool replaced = (options.mode == Mode::Compress || options.mode == Mode::Decompress) &&
                          !WritesToStandardOutput(options, path);
    InputRules rules;
    rules.followLinks = rules.allowHardLinks = !replaced || options.force;
    rules.allowSpecial = !replaced;
    return rules;
}

InputFile::InputFile(const std::string& path, const InputRules& rules) {
    try {
        if (path == StandardStream) {
            name_ = "(stdin)";
            standardInput_ = true;
            fd_ = STDIN_FILENO;
            if (fstat(fd_, &status_) != 0) throw SystemError(name_);
        } else {
            name_ = path;
            Open(path, rules);
        }
        if (S_ISDIR(status_.st_mode)) throw FileError(name_, "is a directory");
        if (sizeHint() > LargestInput) throw FileError(name_, TooLarge);
    } catch (...) {
        Close();  // no destructor runs for a constructor that throws
        throw;
    }
}

void InputFile::Open(const std::string& path, const InputRules& rules) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int flags = O_RDONLY | O_CLOEXEC | O_NONBLOCK | (rules.followLinks ? 0 : O_NOFOLLOW);
    fd_ = open(path.c_str(), flags);
    if (fd_ < 0 && errno == ELOOP && !rules.followLinks) throw FileError(path, "is a symbolic link; use -f");
    if (fd_ < 0) throw SystemError(path);
    if (fstat(fd_, &status_) != 0) throw SystemError(path);
    if (!S_ISREG(status_.st_mode) && !S_ISDIR(status_.st_mode) && !rules.allowSpecial)
        throw FileError(path, "not a regular file");
    if (S_ISREG(status_.st_mode) && status_.st_nlink > 1 && !rules.allowHardLinks)
        throw FileError(path, LinksCause(status_.st_nlink));
    const int status = fcntl(fd_, F_GETFL);
    if (status < 0 || fcntl(fd_, F_SETFL, status & ~O_NONBLOCK) != 0) throw SystemError(path);
}

InputFile::~InputFile() { Close(); }

void InputFile::Close() {
    if (fd_ >= 0 && !standardInput_) close(fd_);
    fd_ = -1;
}

std::vector<uint8_t> InputFile::ReadAll(Progress* progress) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(sizeHint()) + ReadChunk);
    size_t done = 0;
    for (;;) {
        if (bytes.size() < done + ReadChunk) bytes.resize(done + ReadChunk);
        const ssize_t got = read(fd_, bytes.data() + done, ReadChunk);
        if (got < 0 && errno == EINTR) continue;
        if (got < 0) throw SystemError(name_);
        if (got == 0) break;
        done += static_cast<size_t>(got);
        if (done > LargestInput) throw FileError(name_, TooLarge);
        if (progress) progress->Advance("reading", done, sizeHint());
    }
    bytes.resize(done);
    bytesRead_ = done;
    CheckUnchanged();
    return bytes;
}

void InputFile::CheckUnchanged() const {
    if (!S_ISREG(status_.st_mode)) return;
    struct stat now {};
    if (fstat(fd_, &now) != 0) throw SystemError(name_);
    const bool longerThanSaid = status_.st_size != 0 && bytesRead_ > static_cast<uint64_t>(status_.st_size);
    if (now.st_size != status_.st_size || !SameTime(now.st_mtim, status_.st_mtim) || longerThanSaid)
        throw FileError(name_, "changed while being read; left as it is");
}

bool IsSameFile(const struct stat& status, const std::string& otherPath) {
    struct stat other {};
    if (stat(otherPath.c_str(), &other) != 0) return false;
    return other.st_dev == status.st_dev && other.st_ino == status.st_ino;
}

void RemoveInput(const std::string& path) {
    if (unlink(path.c_str()) != 0) throw SystemError(path);
}
