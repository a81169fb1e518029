#include "tools/mkinstaller/stop_signal.h"

#include <signal.h>
#include <unistd.h>

#include <atomic>

namespace {

const int StopSignals[] = {SIGINT, SIGTERM, SIGHUP};

std::atomic<int> caught{0};
std::atomic<pid_t> interruptible{0};

void OnStopSignal(int signal) {
    caught = signal;
    const pid_t group = interruptible.load();
    if (group > 0) kill(-group, SIGTERM);
}

}  // namespace

void StopOnSignals() {
    struct sigaction action = {};
    action.sa_handler = OnStopSignal;  // no SA_RESTART: a blocked wait returns with EINTR
    sigemptyset(&action.sa_mask);
    for (int signal : StopSignals) {
        struct sigaction previous = {};
        sigaction(signal, nullptr, &previous);
        if (previous.sa_handler != SIG_IGN) sigaction(signal, &action, nullptr);
    }
}

int StopSignal() { return caught.load(); }

void SetInterruptibleChild(pid_t group) {
    interruptible = group;
    if (group > 0 && caught.load() != 0) kill(-group, SIGTERM);  // the signal came while it started
}

void EndByStopSignal() {
    const int signal = caught.load();
    if (signal == 0) return;
    ::signal(signal, SIG_DFL);
    raise(signal);
}
