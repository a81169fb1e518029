// Output files that never outlive a failed run.
#pragma once

#include <functional>
#include <string>
#include <vector>

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
    bool StageContents(const std::string& text, const std::string& target, unsigned mode, std::string& error);
    bool Commit(std::string& error);

private:
    bool Stage(const std::string& target, unsigned mode, const std::function<bool(int)>& write, std::string& error);

    std::string target_;
    std::string temporary_;
    int tracked_ = -1;
};
