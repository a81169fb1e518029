// Temporary folders and files that never outlive a failed run.
#pragma once

#include <sys/types.h>

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

// A fresh folder under the system's temporary folder, removed with all its
// contents when the object goes away or a signal ends the tool.
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
    int tracked_ = -1;
};

bool WriteFile(const std::string& path, const void* bytes, size_t size);
bool WriteFile(const std::string& path, const std::string& text);
bool CopyFile(const std::string& from, const std::string& to);

// A new version of a file, written under a temporary name in the target's
// folder and renamed over the target only by Commit(), so that several
// outputs are written in full before any of them replaces its target. An
// uncommitted version is removed when the object goes away or a signal ends
// the tool. On failure `error` says why.
class StagedFile {
public:
    StagedFile() = default;
    ~StagedFile();
    StagedFile(const StagedFile&) = delete;
    StagedFile& operator=(const StagedFile&) = delete;

    // `mode` as for a new file, before the umask.
    bool StageCopy(const std::string& from, const std::string& target, mode_t mode, std::string& error);
    bool StageText(const std::string& text, const std::string& target, mode_t mode, std::string& error);
    bool Commit(std::string& error);

private:
    bool Stage(const std::string& target, mode_t mode, const std::function<bool(int)>& write, std::string& error);

    std::string target_;
    std::string temporary_;
    int tracked_ = -1;
};
