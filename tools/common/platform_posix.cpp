#include <errno.h>
#include <fcntl.h>
#include <stdio.h>
#include <stdlib.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"
#include "common/file_time.h"

namespace platform {

namespace {

FileStatus FromStat(const struct stat& from) {
    FileStatus status;
    status.regular = S_ISREG(from.st_mode);
    status.directory = S_ISDIR(from.st_mode);
    status.size = from.st_size > 0 ? static_cast<uint64_t>(from.st_size) : 0;
    status.mode = from.st_mode & 07777;
    status.links = from.st_nlink;
    status.identity = {static_cast<uint64_t>(from.st_dev), static_cast<uint64_t>(from.st_ino)};
    status.accessed = from.st_atim;
    status.modified = from.st_mtim;
    return status;
}

std::string FolderOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    if (slash == std::string::npos) return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string BaseNameOf(const std::string& path) {
    const size_t slash = path.rfind('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// Moves without replacing: exclusively where the file system can, else by
// a hard link, which is just as safe.
bool RenameWithoutReplacing(const char* from, const char* to) {
    if (renameat2(AT_FDCWD, from, AT_FDCWD, to, RENAME_NOREPLACE) == 0) return true;
    if (errno != EINVAL && errno != ENOSYS) return false;
    if (link(from, to) != 0) return false;
    unlink(from);
    return true;
}

}  // namespace

std::vector<std::string> CommandLine(int argc, char** argv) {
    return std::vector<std::string>(argv, argv + argc);
}

void CarryBytes(int) {}

std::filesystem::path ProgramFile() {
    std::error_code error;
    return std::filesystem::read_symlink("/proc/self/exe", error);
}

bool IsTerminal(int descriptor) {
    return isatty(descriptor) == 1;
}

timespec Now() {
    timespec now{};
    clock_gettime(CLOCK_REALTIME, &now);
    return now;
}

int OpenForReading(const std::string& path, bool followLinks) {
    // Without O_NONBLOCK, opening a FIFO waits for a writer.
    const int descriptor = open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | (followLinks ? 0 : O_NOFOLLOW));
    if (descriptor < 0) return -1;
    const int flags = fcntl(descriptor, F_GETFL);
    if (flags < 0 || fcntl(descriptor, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        const int saved = errno;
        close(descriptor);
        errno = saved;
        return -1;
    }
    return descriptor;
}

int CreateTemporaryBeside(const std::string& target, std::string* name) {
    const std::string pattern = FolderOf(target) + "/." + BaseNameOf(target) + ".XXXXXX";
    std::vector<char> buffer(pattern.begin(), pattern.end());
    buffer.push_back('\0');
    const int descriptor = mkostemp(buffer.data(), O_CLOEXEC);
    if (descriptor >= 0) *name = buffer.data();
    return descriptor;
}

int CreateNamelessTemporary() {
    const char* folder = getenv("TMPDIR");
    const std::string path = folder && *folder ? folder : "/tmp";
    const int descriptor = open(path.c_str(), O_TMPFILE | O_RDWR | O_CLOEXEC, 0600);
    if (descriptor >= 0 || errno != EOPNOTSUPP) return descriptor;
    // A file system without O_TMPFILE: a name for as long as it takes to remove it.
    std::string name;
    const int named = CreateTemporaryBeside(path + "/lzari-spool", &name);
    if (named >= 0) unlink(name.c_str());
    return named;
}

bool Status(int descriptor, FileStatus* status) {
    struct stat from {};
    if (fstat(descriptor, &from) != 0) return false;
    *status = FromStat(from);
    return true;
}

bool PathStatus(const std::string& path, bool followLinks, FileStatus* status) {
    struct stat from {};
    if ((followLinks ? stat(path.c_str(), &from) : lstat(path.c_str(), &from)) != 0) return false;
    *status = FromStat(from);
    return true;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    FileStatus status;
    if (!PathStatus(path, true, &status)) return std::nullopt;
    return status.identity;
}

bool Exists(const std::string& path) {
    struct stat from {};
    return lstat(path.c_str(), &from) == 0;
}

bool FolderWritable(const std::string& folder) {
    return access(folder.c_str(), W_OK | X_OK) == 0;
}

std::optional<uint64_t> FileTimeOfPath(const std::string& path) {
    FileStatus status;
    if (!PathStatus(path, true, &status)) return std::nullopt;
    return FileTimeOfUnix(status.modified).value_or(0);
}

long Read(int descriptor, void* bytes, size_t count) {
    for (;;) {
        const ssize_t got = read(descriptor, bytes, count);
        if (got >= 0 || errno != EINTR) return got;
    }
}

bool WriteAll(int descriptor, const void* bytes, size_t count) {
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const ssize_t written = write(descriptor, next, count);
        if (written < 0 && errno == EINTR) continue;
        if (written < 0) return false;
        next += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

uint32_t ModeOfNewFile(uint32_t mode) {
    const mode_t mask = umask(0);
    umask(mask);
    return mode & ~mask;
}

bool SetMode(int descriptor, uint32_t mode) {
    return fchmod(descriptor, mode & 07777) == 0;
}

bool SetTimes(int descriptor, const timespec& access, const timespec& modification) {
    const timespec times[2] = {access, modification};
    return futimens(descriptor, times) == 0;
}

bool SyncAndClose(int descriptor) {
    if (fsync(descriptor) != 0) {
        const int saved = errno;
        close(descriptor);
        errno = saved;
        return false;
    }
    return close(descriptor) == 0;
}

void Close(int descriptor) {
    close(descriptor);
}

bool Rename(const std::string& from, const std::string& to, bool replace) {
    if (replace) return rename(from.c_str(), to.c_str()) == 0;
    return RenameWithoutReplacing(from.c_str(), to.c_str());
}

void SyncFolder(const std::string& path) {
    const int descriptor = open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (descriptor < 0) return;
    fsync(descriptor);
    close(descriptor);
}

bool Remove(const std::string& path) {
    return unlink(path.c_str()) == 0;
}

void RemoveNow(const char* path) {
    unlink(path);
}

const uint8_t* MapFile(int descriptor, uint64_t size, const std::string& lostMessage) {
    void* bytes = mmap(nullptr, size, PROT_READ, MAP_PRIVATE, descriptor, 0);
    if (bytes == MAP_FAILED) return nullptr;
    madvise(bytes, size, MADV_SEQUENTIAL);
    EndOnLostPages(lostMessage);
    return static_cast<const uint8_t*>(bytes);
}

void UnmapFile(const uint8_t* bytes, uint64_t size) {
    munmap(const_cast<uint8_t*>(bytes), size);
}

void DropPages(const uint8_t* bytes, uint64_t from, uint64_t to) {
    const uint64_t page = static_cast<uint64_t>(sysconf(_SC_PAGESIZE));
    // The mapping starts on a page; whole pages only, which may start before `from`.
    from = from / page * page;
    to = to / page * page;
    if (to > from) madvise(const_cast<uint8_t*>(bytes) + from, to - from, MADV_DONTNEED);
}

}  // namespace platform
