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

namespace fs = std::filesystem;

WorkDir::WorkDir() {
    std::error_code error;
    std::string pattern = (fs::temp_directory_path(error) / "mkinstaller.XXXXXX").string();
    if (error) pattern = "/tmp/mkinstaller.XXXXXX";
    if (mkdtemp(pattern.data()) != nullptr) path_ = pattern;
}

WorkDir::~WorkDir() {
    if (path_.empty()) return;
    std::error_code error;
    fs::remove_all(path_, error);
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

}  // namespace

bool InstallFileAtomically(const std::string& from, const std::string& to, std::string& error) {
    fs::path folder = fs::path(to).parent_path();
    if (folder.empty()) folder = ".";
    std::string temporary = (folder / ("." + fs::path(to).filename().string() + ".XXXXXX")).string();
    const int descriptor = mkstemp(temporary.data());
    if (descriptor < 0) {
        error = "cannot create a file in '" + folder.string() + "': " + std::strerror(errno);
        return false;
    }
    bool ok = CopyToDescriptor(from, descriptor);
    const int savedErrno = errno;
    // mkstemp makes the file private; give it the mode a new program gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    ok = ::fchmod(descriptor, 0755 & ~mask) == 0 && ok;
    ok = ::close(descriptor) == 0 && ok;
    if (ok && std::rename(temporary.c_str(), to.c_str()) == 0) return true;
    error = "cannot write '" + to + "': " + std::strerror(ok ? errno : savedErrno);
    ::unlink(temporary.c_str());
    return false;
}
