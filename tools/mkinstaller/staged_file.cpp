#include "staged_file.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <filesystem>

#include "signal_cleanup.h"

namespace fs = std::filesystem;

namespace {

bool WriteToDescriptor(const std::string& text, int descriptor) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) done += static_cast<size_t>(written);
    }
    return ::fsync(descriptor) == 0;
}

}  // namespace

StagedFile::~StagedFile() {
    if (temporary_.empty()) return;
    ::unlink(temporary_.c_str());
    ForgetTemporary(tracked_);
}

bool StagedFile::StageContents(const std::string& text, const std::string& target, mode_t mode, std::string& error) {
    return Stage(target, mode, [&text](int descriptor) { return WriteToDescriptor(text, descriptor); }, error);
}

bool StagedFile::Stage(const std::string& target, mode_t mode, const std::function<bool(int)>& write,
                       std::string& error) {
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty()) folder = ".";
    std::string temporary = (folder / ("." + fs::path(target).filename().string() + ".XXXXXX")).string();
    int descriptor;
    {
        const SignalsHeld held;
        descriptor = mkstemp(temporary.data());
        if (descriptor >= 0) {
            target_ = target;
            temporary_ = temporary;
            tracked_ = TrackTemporary(temporary_);
        }
    }
    if (descriptor < 0) {
        error = "cannot create a file in '" + folder.string() + "': " + std::strerror(errno);
        return false;
    }
    bool ok = write(descriptor);
    const int savedErrno = errno;
    // mkstemp makes the file private; give it the mode a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ::fchmod(descriptor, mode & ~mask) == 0 && ok;
    ok = ::close(descriptor) == 0 && ok;
    if (!ok) error = "cannot write '" + target + "': " + std::strerror(savedErrno);
    return ok;
}

bool StagedFile::Commit(std::string& error) {
    if (std::rename(temporary_.c_str(), target_.c_str()) != 0) {
        error = "cannot write '" + target_ + "': " + std::strerror(errno);
        return false;
    }
    temporary_.clear();
    ForgetTemporary(tracked_);
    return true;
}
