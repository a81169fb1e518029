#include "work_dir.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include "signal_cleanup.h"

namespace fs = std::filesystem;

WorkDir::WorkDir() {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "mkinstaller.XXXXXX").string();
    if (error) pattern = "/tmp/mkinstaller.XXXXXX";
    const SignalsHeld held;
    if (mkdtemp(pattern.data()) == nullptr) return;
    path_ = pattern;
    tracked_ = TrackTemporary(path_, true);
}

WorkDir::~WorkDir() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove_all(path_, error);
    ForgetTemporary(tracked_);
}

bool WriteFile(const std::string& path, const void* bytes, size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(bytes), static_cast<std::streamsize>(size));
    out.close();
    return !out.fail();
}

bool WriteFile(const std::string& path, const std::string& text) { return WriteFile(path, text.data(), text.size()); }

bool CopyFile(const std::string& from, const std::string& to) {
    std::error_code error;
    fs::copy_file(from, to, fs::copy_options::overwrite_existing, error);
    return !error;
}

namespace {

bool CopyToDescriptor(const std::string& from, int descriptor) {
    std::ifstream in(from, std::ios::binary);
    if (!in) return false;
    char buffer[1 << 16];
    while (in) {
        in.read(buffer, sizeof buffer);
        const char* next = buffer;
        std::streamsize left = in.gcount();
        while (left > 0) {
            const ssize_t written = ::write(descriptor, next, static_cast<size_t>(left));
            if (written < 0) {
                if (errno == EINTR) continue;
                return false;
            }
            next += written;
            left -= written;
        }
    }
    return !in.bad() && ::fsync(descriptor) == 0;
}

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

bool StagedFile::StageCopy(const std::string& from, const std::string& target, mode_t mode, std::string& error) {
    return Stage(target, mode, [&from](int descriptor) { return CopyToDescriptor(from, descriptor); }, error);
}

bool StagedFile::StageText(const std::string& text, const std::string& target, mode_t mode, std::string& error) {
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
            tracked_ = TrackTemporary(temporary_, false);
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
