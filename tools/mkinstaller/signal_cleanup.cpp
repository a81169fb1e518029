#include "signal_cleanup.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <iterator>

namespace {

const int CaughtSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum TemporaryKind { Free, File, Folder };

struct Temporary {
    std::atomic<int> kind{Free};
    char path[PATH_MAX];
};

Temporary temporaries[8];
std::atomic<pid_t> childGroup{0};

sigset_t CaughtSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : CaughtSignals) sigaddset(&set, signal);
    return set;
}

bool IsDotEntry(const char* name) {
    return name[0] == '.' && (name[1] == '\0' || (name[1] == '.' && name[2] == '\0'));
}

// Async-signal-safe throughout: the folder is listed with getdents64, as
// opendir and readdir are not safe in a handler.
void UnlinkEntries(const char* path) {
    const int folder = open(path, O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (folder < 0) return;
    alignas(dirent64) char buffer[4096];
    for (long length; (length = syscall(SYS_getdents64, folder, buffer, sizeof buffer)) > 0;) {
        for (long at = 0; at < length;) {
            const auto* entry = reinterpret_cast<const dirent64*>(buffer + at);
            if (!IsDotEntry(entry->d_name)) unlinkat(folder, entry->d_name, 0);
            at += entry->d_reclen;
        }
    }
    close(folder);
}

void RemoveFolder(const char* path) {
    for (int pass = 0; pass < 3; ++pass) {  // a listing read while unlinking may miss names
        UnlinkEntries(path);
        if (rmdir(path) == 0 || errno != ENOTEMPTY) return;
    }
}

void OnSignal(int signal) {
    const pid_t group = childGroup.load();
    if (group > 0) {
        kill(-group, SIGTERM);
        waitpid(group, nullptr, 0);  // so that it writes nothing into the folder removed next
    }
    for (Temporary& temporary : temporaries) {
        const int kind = temporary.kind.load();
        if (kind == File) unlink(temporary.path);
        if (kind == Folder) RemoveFolder(temporary.path);
    }
    ::signal(signal, SIG_DFL);
    raise(signal);
    const sigset_t set = CaughtSet();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);  // the raised signal ends the process here
}

}  // namespace

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

SignalsHeld::SignalsHeld() {
    const sigset_t set = CaughtSet();
    pthread_sigmask(SIG_BLOCK, &set, &saved_);
}

SignalsHeld::~SignalsHeld() { pthread_sigmask(SIG_SETMASK, &saved_, nullptr); }

int TrackTemporary(const std::string& path, bool folder) {
    if (path.size() >= PATH_MAX) return -1;
    const SignalsHeld held;
    for (size_t i = 0; i < std::size(temporaries); ++i) {
        if (temporaries[i].kind.load() != Free) continue;
        std::memcpy(temporaries[i].path, path.c_str(), path.size() + 1);
        temporaries[i].kind = folder ? Folder : File;
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int handle) {
    if (handle >= 0) temporaries[handle].kind = Free;
}

void TrackChildGroup(pid_t group) { childGroup = group; }

void ResetSignalsInChild() {
    for (int signal : CaughtSignals) {
        struct sigaction current = {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler == OnSignal) ::signal(signal, SIG_DFL);
    }
    const sigset_t set = CaughtSet();
    sigprocmask(SIG_UNBLOCK, &set, nullptr);
}
