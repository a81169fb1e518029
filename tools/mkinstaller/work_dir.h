// Temporary folders and files that never outlive a failed run.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes away.
class WorkDir {
public:
    WorkDir();
    ~WorkDir();
    WorkDir(const WorkDir&) = delete;
    WorkDir& operator=(const WorkDir&) = delete;

    bool Ok() const { return !path_.empty(); }
    const std::string& Path() const { return path_; }
    std::string File(const std::string& name) const { return path_ + "/" + name; }

private:
    std::string path_;
};

bool WriteFile(const std::string& path, const void* bytes, size_t size);
bool WriteFile(const std::string& path, const std::string& text);
bool CopyFile(const std::string& from, const std::string& to);

// Puts a copy of `from` at `to` in one step: the bytes go to a temporary name
// in the target's folder first, which is renamed over `to` only when
// complete. On failure nothing is left behind and `error` says why.
bool InstallFileAtomically(const std::string& from, const std::string& to, std::string& error);
