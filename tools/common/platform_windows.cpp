// Windows: CRT descriptors opened through the wide-character file API, so
// that every name in UTF-8 works whatever the ANSI code page; errno is set
// from the system's error so that messages match the POSIX build's.
#include <errno.h>
#include <fcntl.h>
#include <io.h>
#include <stdio.h>
#include <sys/stat.h>
#include <windows.h>

#include <algorithm>

#include "tools/common/platform.h"
#include "tools/common/command_line_split.h"
#include "common/file_time.h"

namespace fs = std::filesystem;

namespace platform {

namespace {

constexpr unsigned MaxTransfer = 1u << 30;
constexpr int TemporaryAttempts = 100;

std::wstring Wide(const std::string& text) {
    if (text.empty()) return std::wstring();
    const int length = MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), &wide[0], length);
    return wide;
}

std::string Utf8(const wchar_t* wide) {
    const int length = WideCharToMultiByte(CP_UTF8, 0, wide, -1, nullptr, 0, nullptr, nullptr);
    if (length <= 1) return std::string();
    std::string text(static_cast<size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, wide, -1, &text[0], length, nullptr, nullptr);
    text.resize(static_cast<size_t>(length - 1));
    return text;
}

int ErrnoOf(DWORD error) {
    switch (error) {
        case ERROR_FILE_NOT_FOUND:
        case ERROR_PATH_NOT_FOUND:
        case ERROR_INVALID_NAME:
            return ENOENT;
        case ERROR_ACCESS_DENIED:
        case ERROR_SHARING_VIOLATION:
            return EACCES;
        case ERROR_FILE_EXISTS:
        case ERROR_ALREADY_EXISTS:
            return EEXIST;
        case ERROR_DISK_FULL:
        case ERROR_HANDLE_DISK_FULL:
            return ENOSPC;
        case ERROR_BROKEN_PIPE:
        case ERROR_NO_DATA:
            return EPIPE;
        default:
            return EIO;
    }
}

bool Failed() {
    errno = ErrnoOf(GetLastError());
    return false;
}

HANDLE HandleOf(int descriptor) {
    return reinterpret_cast<HANDLE>(_get_osfhandle(descriptor));
}

uint64_t TicksOf(const FILETIME& time) {
    return static_cast<uint64_t>(time.dwHighDateTime) << 32 | time.dwLowDateTime;
}

FILETIME ToFileTime(uint64_t ticks) {
    FILETIME time;
    time.dwLowDateTime = static_cast<DWORD>(ticks);
    time.dwHighDateTime = static_cast<DWORD>(ticks >> 32);
    return time;
}

// Files on disk have an identity, links, times and a size; pipes and
// consoles have none of these. Nor has a standard stream that Wine gives
// from a host file: it cannot be asked, and is read as a stream.
bool StatusOfHandle(HANDLE handle, FileStatus* status) {
    *status = FileStatus();
    BY_HANDLE_FILE_INFORMATION info;
    if (GetFileType(handle) != FILE_TYPE_DISK) return true;
    if (!GetFileInformationByHandle(handle, &info)) return GetLastError() == ERROR_INVALID_HANDLE || Failed();
    status->directory = (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    status->regular = !status->directory;
    status->size = static_cast<uint64_t>(info.nFileSizeHigh) << 32 | info.nFileSizeLow;
    status->mode = (info.dwFileAttributes & FILE_ATTRIBUTE_READONLY) ? 0444 : 0666;
    status->links = info.nNumberOfLinks;
    status->identity = {info.dwVolumeSerialNumber,
                        static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
    status->accessed = UnixOfFileTime(TicksOf(info.ftLastAccessTime));
    status->modified = UnixOfFileTime(TicksOf(info.ftLastWriteTime));
    return true;
}

// A handle that only asks about the file, folders too.
HANDLE OpenForStatus(const std::string& path, bool followLinks) {
    const DWORD flags = FILE_FLAG_BACKUP_SEMANTICS | (followLinks ? 0 : FILE_FLAG_OPEN_REPARSE_POINT);
    return CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, flags, nullptr);
}

bool IsSymbolicLink(const std::wstring& path) {
    const DWORD attributes = GetFileAttributesW(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_REPARSE_POINT);
}

// Shared for deletion as on POSIX: an input is removed, and a temporary
// removed on interruption, while still open.
int OpenShared(const std::string& path, DWORD access, DWORD disposition, int flags) {
    const HANDLE handle =
        CreateFileW(Wide(path).c_str(), access, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                    disposition, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        Failed();
        return -1;
    }
    const int descriptor = _open_osfhandle(reinterpret_cast<intptr_t>(handle), flags | _O_BINARY | _O_NOINHERIT);
    if (descriptor < 0) CloseHandle(handle);
    return descriptor;
}

std::string TemporaryName(const std::string& target, unsigned attempt) {
    const fs::path path = fs::u8path(target);
    const fs::path folder = path.has_parent_path() ? path.parent_path() : fs::path(".");
    char suffix[16];
    const unsigned seed = GetCurrentProcessId() * 2654435761u ^ GetTickCount() ^ attempt * 40503u;
    snprintf(suffix, sizeof suffix, ".%06x", seed & 0xffffffu);
    return (folder / fs::u8path("." + path.filename().u8string() + suffix)).u8string();
}

// The files that a wildcard names, in name order, their folder as the
// pattern spells it; none when nothing matches. As the C runtime does it,
// only the last part of a path may hold wildcards.
std::vector<std::string> MatchingFiles(const std::string& pattern) {
    const size_t cut = pattern.find_last_of("\\/:");
    const std::string folder = cut == std::string::npos ? "" : pattern.substr(0, cut + 1);
    std::vector<std::string> names;
    WIN32_FIND_DATAW found;
    const HANDLE search =
        FindFirstFileExW(Wide(pattern).c_str(), FindExInfoBasic, &found, FindExSearchNameMatch, nullptr, 0);
    if (search == INVALID_HANDLE_VALUE) return names;
    do {
        const std::string name = Utf8(found.cFileName);
        if (name != "." && name != "..") names.push_back(folder + name);
    } while (FindNextFileW(search, &found));
    FindClose(search);
    std::sort(names.begin(), names.end());
    return names;
}

}  // namespace

// Windows hands a program one line; its C runtime would split it and expand
// the wildcards outside quotes, which cmd leaves to the program.
std::vector<std::string> CommandLine(int, char**) {
    std::vector<std::string> arguments;
    for (const CommandArgument& argument : SplitCommandLine(Utf8(GetCommandLineW()))) {
        const std::vector<std::string> matches =
            argument.wildcard && !arguments.empty() ? MatchingFiles(argument.text) : std::vector<std::string>();
        if (matches.empty())
            arguments.push_back(argument.text);
        else
            arguments.insert(arguments.end(), matches.begin(), matches.end());
    }
    return arguments;
}

void CarryBytes(int descriptor) {
    _setmode(descriptor, _O_BINARY);
}

fs::path ProgramFile() {
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) return {};
    name.resize(length);
    return fs::path(name);
}

// A console only: _isatty also says yes for the NUL device.
bool IsTerminal(int descriptor) {
    DWORD mode;
    return GetConsoleMode(HandleOf(descriptor), &mode) != 0;
}

timespec Now() {
    FILETIME now;
    GetSystemTimeAsFileTime(&now);
    return UnixOfFileTime(TicksOf(now));
}

int OpenForReading(const std::string& path, bool followLinks) {
    if (!followLinks && IsSymbolicLink(Wide(path))) {
        errno = ELOOP;
        return -1;
    }
    return OpenShared(path, GENERIC_READ, OPEN_EXISTING, _O_RDONLY);
}

int CreateTemporaryBeside(const std::string& target, std::string* name) {
    for (unsigned attempt = 0; attempt < TemporaryAttempts; ++attempt) {
        const std::string candidate = TemporaryName(target, attempt);
        const int descriptor =
            OpenShared(candidate, GENERIC_READ | GENERIC_WRITE | FILE_WRITE_ATTRIBUTES, CREATE_NEW, _O_RDWR);
        if (descriptor >= 0) {
            *name = candidate;
            return descriptor;
        }
        if (errno != EEXIST) return -1;
    }
    return -1;
}

// Files are not mapped here (MapFile), so a temporary would gain nothing:
// the tools read such inputs whole.
int CreateNamelessTemporary() {
    errno = ENOSYS;
    return -1;
}

bool Status(int descriptor, FileStatus* status) {
    return StatusOfHandle(HandleOf(descriptor), status);
}

bool PathStatus(const std::string& path, bool followLinks, FileStatus* status) {
    const HANDLE handle = OpenForStatus(path, followLinks);
    if (handle == INVALID_HANDLE_VALUE) return Failed();
    const bool known = StatusOfHandle(handle, status);
    CloseHandle(handle);
    return known;
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    const HANDLE handle = OpenForStatus(path, true);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(handle, &info) != 0;
    CloseHandle(handle);
    if (!known) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber,
                        static_cast<uint64_t>(info.nFileIndexHigh) << 32 | info.nFileIndexLow};
}

bool Exists(const std::string& path) {
    return GetFileAttributesW(Wide(path).c_str()) != INVALID_FILE_ATTRIBUTES;
}

// Permissions on Windows are more than a mode: try what writing an output does.
bool FolderWritable(const std::string& folder) {
    std::string probe;
    const int descriptor = CreateTemporaryBeside((fs::u8path(folder) / "probe").u8string(), &probe);
    if (descriptor < 0) return false;
    Close(descriptor);
    Remove(probe);
    return true;
}

std::optional<uint64_t> FileTimeOfPath(const std::string& path) {
    const HANDLE handle = OpenForStatus(path, true);
    if (handle == INVALID_HANDLE_VALUE) return std::nullopt;
    FILETIME modified;
    const bool known = GetFileTime(handle, nullptr, nullptr, &modified) != 0;
    CloseHandle(handle);
    if (!known) return std::nullopt;
    return TicksOf(modified);
}

long Read(int descriptor, void* bytes, size_t count) {
    return _read(descriptor, bytes, static_cast<unsigned>(count < MaxTransfer ? count : MaxTransfer));
}

bool WriteAll(int descriptor, const void* bytes, size_t count) {
    const char* next = static_cast<const char*>(bytes);
    while (count > 0) {
        const int written = _write(descriptor, next, static_cast<unsigned>(count < MaxTransfer ? count : MaxTransfer));
        if (written < 0) return false;
        next += written;
        count -= static_cast<size_t>(written);
    }
    return true;
}

// No umask here: a new file is writable unless asked otherwise.
uint32_t ModeOfNewFile(uint32_t mode) {
    return mode;
}

// Windows keeps one bit of the mode: whether the owner may write.
bool SetMode(int descriptor, uint32_t mode) {
    if (mode & 0200) return true;
    FILE_BASIC_INFO info{};
    info.FileAttributes = FILE_ATTRIBUTE_READONLY;
    return SetFileInformationByHandle(HandleOf(descriptor), FileBasicInfo, &info, sizeof info) || Failed();
}

bool SetTimes(int descriptor, const timespec& access, const timespec& modification) {
    const auto accessTicks = FileTimeOfUnix(access), modificationTicks = FileTimeOfUnix(modification);
    if (!accessTicks || !modificationTicks) {
        errno = EINVAL;
        return false;
    }
    const FILETIME accessed = ToFileTime(*accessTicks), modified = ToFileTime(*modificationTicks);
    return SetFileTime(HandleOf(descriptor), nullptr, &accessed, &modified) || Failed();
}

bool SyncAndClose(int descriptor) {
    const bool flushed = FlushFileBuffers(HandleOf(descriptor)) || Failed();
    const int saved = errno;
    const bool closed = _close(descriptor) == 0;
    if (!flushed) errno = saved;
    return flushed && closed;
}

void Close(int descriptor) {
    _close(descriptor);
}

bool Rename(const std::string& from, const std::string& to, bool replace) {
    const DWORD flags = MOVEFILE_WRITE_THROUGH | (replace ? MOVEFILE_REPLACE_EXISTING : 0);
    return MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), flags) || Failed();
}

// MOVEFILE_WRITE_THROUGH has made the new name durable already.
void SyncFolder(const std::string&) {}

bool Remove(const std::string& path) {
    return DeleteFileW(Wide(path).c_str()) || Failed();
}

// The console handler runs on an ordinary thread, which may allocate.
void RemoveNow(const char* path) {
    DeleteFileW(Wide(path).c_str());
}

// Here inputs are read into memory instead.
const uint8_t* MapFile(int, uint64_t, const std::string&) {
    errno = ENOSYS;
    return nullptr;
}

void UnmapFile(const uint8_t*, uint64_t) {}

void DropPages(const uint8_t*, uint64_t, uint64_t) {}

}  // namespace platform
