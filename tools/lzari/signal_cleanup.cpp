#include "tools/lzari/signal_cleanup.h"

#include <limits.h>
#include <string.h>
#include <unistd.h>

namespace {

constexpr int CleanedSignals[] = {SIGINT, SIGTERM, SIGHUP, SIGPIPE};

// A handler may touch nothing but these: a fixed buffer and a flag.
char temporaryPath[PATH_MAX];
volatile sig_atomic_t temporaryRegistered = 0;

sigset_t CleanedSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : CleanedSignals) sigaddset(&set, signal);
    return set;
}

extern "C" void RemoveTemporaryAndDie(int signal) {
    if (temporaryRegistered) unlink(temporaryPath);
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(signal, &standard, nullptr);
    // Delivered with the default action as soon as the handler returns.
    raise(signal);
}

}  // namespace

void InstallSignalCleanup() {
    struct sigaction action {};
    action.sa_handler = RemoveTemporaryAndDie;
    action.sa_mask = CleanedSet();
    for (int signal : CleanedSignals) {
        struct sigaction previous {};
        if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

SignalsHeld::SignalsHeld() {
    const sigset_t set = CleanedSet();
    sigprocmask(SIG_BLOCK, &set, &previous_);
}

SignalsHeld::~SignalsHeld() { sigprocmask(SIG_SETMASK, &previous_, nullptr); }

bool RegisterTemporary(const std::string& path) {
    if (path.size() >= sizeof temporaryPath) return false;
    memcpy(temporaryPath, path.c_str(), path.size() + 1);
    temporaryRegistered = 1;
    return true;
}

void ForgetTemporary() { temporaryRegistered = 0; }
