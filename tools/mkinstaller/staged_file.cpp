#include "tools/mkinstaller/staged_file.h"

#include <cerrno>
#include <cstring>
#include <filesystem>

#include "tools/mkinstaller/platform.h"
#include "tools/mkinstaller/signal_cleanup.h"

namespace fs = std::filesystem;

namespace {

std::string FolderOf(const std::string& target) {
    const fs::path folder = fs::u8path(target).parent_path();
    return folder.empty() ? "." : folder.u8string();
}

}  // namespace

StagedFile::~StagedFile() {
    if (temporary_.empty()) return;
    os::RemoveFile(temporary_.c_str());
    ForgetTemporary(tracked_);
}

bool StagedFile::StageContents(const std::string& text, const std::string& target, unsigned mode, std::string& error) {
    return Stage(target, mode, [&text](int descriptor) { return os::WriteAndSync(descriptor, text); }, error);
}

bool StagedFile::Stage(const std::string& target, unsigned mode, const std::function<bool(int)>& write,
                       std::string& error) {
    std::string temporary;
    int descriptor;
    {
        const SignalsHeld held;
        descriptor = os::CreateTemporaryBeside(target, temporary);
        if (descriptor >= 0) {
            target_ = target;
            temporary_ = temporary;
            tracked_ = TrackTemporary(temporary_);
        }
    }
    if (descriptor < 0) {
        error = "cannot create a file in '" + FolderOf(target) + "': " + std::strerror(errno);
        return false;
    }
    bool ok = write(descriptor);
    const int savedErrno = errno;
    ok = os::FinishAndClose(descriptor, mode) && ok;
    if (!ok) error = "cannot write '" + target + "': " + std::strerror(savedErrno);
    return ok;
}

bool StagedFile::Commit(std::string& error) {
    if (!os::MoveOver(temporary_, target_)) {
        error = "cannot write '" + target_ + "': " + std::strerror(errno);
        return false;
    }
    temporary_.clear();
    ForgetTemporary(tracked_);
    return true;
}
