// A throwaway folder for tests that run a tool in it; removed with
// everything in it.
#pragma once

#include <sys/stat.h>

#include <string>
#include <vector>

class ScratchFolder {
public:
    explicit ScratchFolder(const char* prefix);
    ~ScratchFolder();
    ScratchFolder(const ScratchFolder&) = delete;
    ScratchFolder& operator=(const ScratchFolder&) = delete;

    const std::string& Path() const { return path_; }
    std::string PathOf(const std::string& name) const { return path_ + "/" + name; }
    void Write(const std::string& name, const std::string& bytes) const;
    std::string Read(const std::string& name) const;
    struct stat Status(const std::string& name) const;
    std::vector<std::string> Entries() const;  // sorted, without a test's own ".run-" files

private:
    std::string path_;
};

std::string ReadFile(const std::string& path);  // empty when unreadable
