#include "tools/mkinstaller/platform.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>
#include <shellapi.h>

#include <cerrno>
#include <cstdio>
#include <mutex>
#include <random>

#include "tools/mkinstaller/signal_cleanup.h"

namespace fs = std::filesystem;

namespace {

std::wstring Wide(const std::string& utf8) { return fs::u8path(utf8).wstring(); }

std::string Utf8(const wchar_t* wide) { return fs::path(wide).u8string(); }

// The C library's messages follow errno.
void SetErrnoFromLastError() {
    switch (GetLastError()) {
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: errno = ENOENT; break;
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION: errno = EACCES; break;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: errno = EEXIST; break;
    case ERROR_DISK_FULL: errno = ENOSPC; break;
    default: errno = EIO; break;
    }
}

// An interruption's handler runs on a thread of its own: this lock keeps it
// from running between creating a temporary and registering it.
std::recursive_mutex& InterruptLock() {
    static std::recursive_mutex lock;
    return lock;
}

BOOL WINAPI OnConsoleEvent(DWORD) {
    InterruptLock().lock();  // kept: the process ends before another temporary is made
    RemoveTemporaries();
    return FALSE;  // the default handler ends the process
}

HANDLE OpenForIdentity(const std::string& path) {
    return CreateFileW(Wide(path).c_str(), 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                       OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
}

}  // namespace

namespace os {

std::vector<std::string> Arguments(int, char**) {
    // Messages end lines as on Linux, so that scripts read the same text.
    _setmode(_fileno(stderr), _O_BINARY);
    int count = 0;
    wchar_t** wide = CommandLineToArgvW(GetCommandLineW(), &count);
    std::vector<std::string> arguments;
    for (int i = 0; i < count; ++i) arguments.push_back(Utf8(wide[i]));
    LocalFree(wide);
    return arguments;
}

bool StandardErrorIsTerminal() { return _isatty(_fileno(stderr)) != 0; }

fs::path ProgramFile() {
    std::wstring name(32768, L'\0');
    const DWORD length = GetModuleFileNameW(nullptr, name.data(), static_cast<DWORD>(name.size()));
    if (length == 0 || length >= name.size()) return {};
    name.resize(length);
    return fs::path(name);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    const HANDLE file = OpenForIdentity(path);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    BY_HANDLE_FILE_INFORMATION info;
    const bool ok = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return FileIdentity{info.dwVolumeSerialNumber, (uint64_t{info.nFileIndexHigh} << 32) | info.nFileIndexLow};
}

bool FolderWritable(const std::string& folder) {
    // Permissions on Windows are more than a mode: try what packing will do.
    std::string probe;
    const int descriptor = CreateTemporaryBeside((fs::u8path(folder) / "probe").u8string(), probe);
    if (descriptor < 0) return false;
    _close(descriptor);
    RemoveFile(probe.c_str());
    return true;
}

int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    const fs::path path = fs::u8path(target);
    fs::path folder = path.parent_path();
    if (folder.empty()) folder = ".";
    static std::mt19937 random{std::random_device{}() ^ GetCurrentProcessId()};
    static const char letters[] = "abcdefghijklmnopqrstuvwxyz0123456789";
    for (int attempt = 0; attempt < 100; ++attempt) {
        std::string suffix = ".";
        for (int i = 0; i < 6; ++i) suffix += letters[random() % (sizeof letters - 1)];
        temporary = (folder / fs::u8path("." + path.filename().u8string() + suffix)).u8string();
        const int descriptor = _wopen(Wide(temporary).c_str(), _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
        if (descriptor >= 0 || errno != EEXIST) return descriptor;
    }
    return -1;
}

bool WriteAndSync(int descriptor, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const int written = _write(descriptor, text.data() + done, static_cast<unsigned>(std::min<size_t>(text.size() - done, 1u << 30)));
        if (written < 0) return false;
        done += static_cast<size_t>(written);
    }
    return _commit(descriptor) == 0;
}

// Windows files carry no permission bits of the kind a mode sets.
bool FinishAndClose(int descriptor, unsigned) { return _close(descriptor) == 0; }

bool MoveOver(const std::string& from, const std::string& to) {
    if (MoveFileExW(Wide(from).c_str(), Wide(to).c_str(), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
        return true;
    }
    SetErrnoFromLastError();
    return false;
}

void RemoveFile(const char* path) { DeleteFileW(Wide(path).c_str()); }

}  // namespace os

std::optional<uint64_t> FileTimeOfPath(const std::string& path) {
    const HANDLE file = OpenForIdentity(path);
    if (file == INVALID_HANDLE_VALUE) return std::nullopt;
    FILETIME modified;
    const bool ok = GetFileTime(file, nullptr, nullptr, &modified) != 0;
    CloseHandle(file);
    if (!ok) return std::nullopt;
    return (uint64_t{modified.dwHighDateTime} << 32) | modified.dwLowDateTime;
}

void CleanUpOnSignals() { SetConsoleCtrlHandler(OnConsoleEvent, TRUE); }

SignalsHeld::SignalsHeld() { InterruptLock().lock(); }

SignalsHeld::~SignalsHeld() { InterruptLock().unlock(); }
