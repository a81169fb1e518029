#include "signal_cleanup.h"

#include <fcntl.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <climits>
#include <cstring>
#include <iterator>

namespace {

const int CaughtSignals[] = {SIGINT, SIGTERM, SIGHUP};

enum TemporaryKind { Free, File };

struct Temporary {
    std::atomic<int> kind{Free};
    char path[PATH_MAX];
};

Temporary temporaries[8];

sigset_t CaughtSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : CaughtSignals) sigaddset(&set, signal);
    return set;
}

void OnSignal(int signal) {
    for (Temporary& temporary : temporaries) {
        if (temporary.kind.load() == File) unlink(temporary.path);
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

int TrackTemporary(const std::string& path) {
    if (path.size() >= PATH_MAX) return -1;
    const SignalsHeld held;
    for (size_t i = 0; i < std::size(temporaries); ++i) {
        if (temporaries[i].kind.load() != Free) continue;
        std::memcpy(temporaries[i].path, path.c_str(), path.size() + 1);
        temporaries[i].kind = File;
        return static_cast<int>(i);
    }
    return -1;
}

void ForgetTemporary(int handle) {
    if (handle >= 0) temporaries[handle].kind = Free;
}
