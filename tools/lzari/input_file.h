// Opening and reading the files the tool is given.
#pragma once

#include <stdint.h>
#include <sys/stat.h>

#include <string>
#include <vector>

class Progress;

// An open regular file of at most 4 GiB; closed on destruction.
class InputFile {
public:
    explicit InputFile(const std::string& path);
    ~InputFile();
    InputFile(const InputFile&) = delete;
    InputFile& operator=(const InputFile&) = delete;

    const std::string& path() const { return path_; }
    const struct stat& status() const { return status_; }
    uint64_t size() const { return static_cast<uint64_t>(status_.st_size); }

    std::vector<uint8_t> ReadAll(Progress* progress);
    // Reads exactly `count` bytes at `offset`.
    void ReadAt(uint64_t offset, uint8_t* bytes, size_t count);

private:
    std::string path_;
    int fd_ = -1;
    struct stat status_ {};
};

// True when both paths name the same file (same device and inode).
bool IsSameFile(const struct stat& status, const std::string& otherPath);

void RemoveInput(const std::string& path);
