#include "tools/lzari/input_file.h"

#include <errno.h>
#include <string.h>

#include "tools/lzari/file_error.h"
#include "tools/lzari/options.h"
#include "tools/lzari/progress.h"

namespace {

// The container's size field is 32 bits wide.
constexpr uint64_t LargestInput = UINT32_MAX;
constexpr size_t ReadChunk = 1u << 20;
constexpr const char* TooLarge = "file too large (over 4 GiB)";
constexpr const char* ChangedCause = "changed while being read; left as it is";

std::string LinksCause(uint64_t links) {
    const unsigned long long others = links - 1;
    return "has " + std::to_string(others) + (others == 1 ? " other link" : " other links") + "; use -f";
}

bool SameTime(const timespec& a, const timespec& b) {
    return a.tv_sec == b.tv_sec && a.tv_nsec == b.tv_nsec;
}

}  // namespace

InputRules RulesFor(const Options& options, const std::string& path) {
    const bool replaced =
        (options.mode == Mode::Compress || options.mode == Mode::Decompress) && !WritesToStandardOutput(options, path);
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
            descriptor_ = platform::StandardInput;
            if (!platform::Status(descriptor_, &status_)) throw SystemError(name_);
        } else {
            name_ = path;
            Open(path, rules);
        }
        if (status_.directory) throw FileError(name_, "is a directory");
        if (sizeHint() > LargestInput) throw FileError(name_, TooLarge);
    } catch (...) {
        Close();  // no destructor runs for a constructor that throws
        throw;
    }
}

void InputFile::Open(const std::string& path, const InputRules& rules) {
    descriptor_ = platform::OpenForReading(path, rules.followLinks);
    if (descriptor_ < 0 && errno == ELOOP && !rules.followLinks) throw FileError(path, "is a symbolic link; use -f");
    if (descriptor_ < 0) throw SystemError(path);
    if (!platform::Status(descriptor_, &status_)) throw SystemError(path);
    if (!status_.regular && !status_.directory && !rules.allowSpecial) throw FileError(path, "not a regular file");
    if (status_.regular && status_.links > 1 && !rules.allowHardLinks) throw FileError(path, LinksCause(status_.links));
}

InputFile::~InputFile() {
    Close();
}

void InputFile::Close() {
    if (descriptor_ >= 0 && !standardInput_) platform::Close(descriptor_);
    descriptor_ = -1;
}

std::vector<uint8_t> InputFile::ReadAll(Progress* progress) {
    std::vector<uint8_t> bytes;
    bytes.reserve(static_cast<size_t>(sizeHint()) + ReadChunk);
    size_t done = 0;
    for (;;) {
        if (bytes.size() < done + ReadChunk) bytes.resize(done + ReadChunk);
        const long got = platform::Read(descriptor_, bytes.data() + done, ReadChunk);
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

std::unique_ptr<InputBytes> InputFile::Load(Progress* progress) {
    if (status_.regular && status_.size > 0) {
        const std::string lost = "lzari: " + name_ + ": " + ChangedCause + "\n";
        if (const uint8_t* mapped = platform::MapFile(descriptor_, status_.size, lost)) {
            bytesRead_ = status_.size;
            return std::make_unique<InputBytes>(mapped, static_cast<size_t>(status_.size));
        }
    }
    if (!status_.regular) {
        if (std::unique_ptr<InputBytes> spooled = Spool(progress)) return spooled;
    }
    return std::make_unique<InputBytes>(ReadAll(progress));
}

// A pipe's bytes go to a nameless temporary file, mapped once whole, so that
// memory does not grow with the input; null where no temporary can be made.
std::unique_ptr<InputBytes> InputFile::Spool(Progress* progress) {
    struct Temporary {
        int descriptor = platform::CreateNamelessTemporary();
        ~Temporary() {
            if (descriptor >= 0) platform::Close(descriptor);
        }
    } spool;
    if (spool.descriptor < 0) return nullptr;
    std::vector<uint8_t> chunk(ReadChunk);
    for (long got; (got = platform::Read(descriptor_, chunk.data(), ReadChunk)) != 0; bytesRead_ += got) {
        if (got < 0) throw SystemError(name_);
        if (bytesRead_ + got > LargestInput) throw FileError(name_, TooLarge);
        if (!platform::WriteAll(spool.descriptor, chunk.data(), static_cast<size_t>(got)))
            throw FileError(name_, std::string("cannot keep it in a temporary file: ") + strerror(errno));
        if (progress) progress->Advance("reading", bytesRead_ + got, 0);
    }
    if (bytesRead_ == 0) return std::make_unique<InputBytes>(std::vector<uint8_t>());
    const uint8_t* mapped =
        platform::MapFile(spool.descriptor, bytesRead_, "lzari: " + name_ + ": temporary file lost\n");
    if (!mapped) throw SystemError(name_);
    return std::make_unique<InputBytes>(mapped, static_cast<size_t>(bytesRead_));
}

void InputFile::CheckUnchanged() const {
    if (!status_.regular) return;
    platform::FileStatus now;
    if (!platform::Status(descriptor_, &now)) throw SystemError(name_);
    const bool longerThanSaid = status_.size != 0 && bytesRead_ > status_.size;
    if (now.size != status_.size || !SameTime(now.modified, status_.modified) || longerThanSaid)
        throw FileError(name_, ChangedCause);
}

bool IsSameFile(const platform::FileStatus& status, const std::string& otherPath) {
    platform::FileStatus other;
    if (!platform::PathStatus(otherPath, true, &other)) return false;
    return other.identity == status.identity;
}

void RemoveInput(const std::string& path) {
    if (!platform::Remove(path)) throw SystemError(path);
}
