#include "tools/mkinstaller/platform.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>

#include "tools/mkinstaller/signal_cleanup.h"
#include "common/file_time.h"

namespace fs = std::filesystem;

namespace {

const int CaughtSignals[] = {SIGINT, SIGTERM, SIGHUP};

sigset_t CaughtSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : CaughtSignals) sigaddset(&set, signal);
    return set;
}

void OnSignal(int signal) {
    RemoveTemporaries();
    ::signal(signal, SIG_DFL);
    raise(signal);
    const sigset_t set = CaughtSet();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);  // the raised signal ends the process here
}

}  // namespace

namespace os {

std::vector<std::string> Arguments(int argc, char** argv) { return {argv, argv + argc}; }

bool StandardErrorIsTerminal() { return isatty(STDERR_FILENO) != 0; }

fs::path ProgramFile() {
    std::error_code error;
    return fs::read_symlink("/proc/self/exe", error);
}

std::optional<FileIdentity> IdentityOf(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileIdentity{static_cast<uint64_t>(info.st_dev), static_cast<uint64_t>(info.st_ino)};
}

bool FolderWritable(const std::string& folder) { return access(folder.c_str(), W_OK | X_OK) == 0; }

int CreateTemporaryBeside(const std::string& target, std::string& temporary) {
    fs::path folder = fs::path(target).parent_path();
    if (folder.empty()) folder = ".";
    temporary = (folder / ("." + fs::path(target).filename().string() + ".XXXXXX")).string();
    return mkstemp(temporary.data());
}

bool WriteAndSync(int descriptor, const std::string& text) {
    for (size_t done = 0; done < text.size();) {
        const ssize_t written = ::write(descriptor, text.data() + done, text.size() - done);
        if (written < 0 && errno != EINTR) return false;
        if (written > 0) done += static_cast<size_t>(written);
    }
    return ::fsync(descriptor) == 0;
}

bool FinishAndClose(int descriptor, unsigned mode) {
    // mkstemp makes the file private; give it the mode a new file gets.
    const mode_t mask = ::umask(0);
    ::umask(mask);
    const bool ok = ::fchmod(descriptor, mode & ~mask) == 0;
    return ::close(descriptor) == 0 && ok;
}

bool MoveOver(const std::string& from, const std::string& to) { return std::rename(from.c_str(), to.c_str()) == 0; }

void RemoveFile(const char* path) { ::unlink(path); }

}  // namespace os

std::optional<uint64_t> FileTimeOfPath(const std::string& path) {
    struct stat info;
    if (stat(path.c_str(), &info) != 0) return std::nullopt;
    return FileTimeOfUnix(info.st_mtim.tv_sec, static_cast<uint32_t>(info.st_mtim.tv_nsec)).value_or(0);
}

void CleanUpOnSignals() {
    struct sigaction action = {};
    action.sa_handler = OnSignal;
    action.sa_mask = CaughtSet();  // one cleanup at a time
    for (int signal : CaughtSignals) {
        struct sigaction previous = {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}

static_assert(sizeof(sigset_t) <= sizeof(SignalsHeld::Saved));

SignalsHeld::SignalsHeld() {
    const sigset_t set = CaughtSet();
    pthread_sigmask(SIG_BLOCK, &set, reinterpret_cast<sigset_t*>(saved_.bytes));
}

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(saved_.bytes), nullptr); }
