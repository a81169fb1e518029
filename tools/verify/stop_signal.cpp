#include "tools/verify/stop_signal.h"

#include <signal.h>

#include <atomic>

#include "tools/common/interrupt_cleanup.h"

namespace {

std::atomic<int> caught{0};

void OnStopSignal(int signal) {
    caught = signal;
    const pid_t group = platform::ChildToEnd();
    if (group > 0) kill(-group, SIGTERM);
}

}  // namespace

void StopOnSignals() {
    platform::HandleInterruptions(OnStopSignal);
}

int StopSignal() {
    return caught.load();
}

void SetInterruptibleChild(pid_t group) {
    platform::SetChildToEnd(group);
    if (group > 0 && caught.load() != 0) kill(-group, SIGTERM);  // the signal came while it started
}

void EndByStopSignal() {
    const int signal = caught.load();
    if (signal != 0) platform::EndBySignal(signal);
}
