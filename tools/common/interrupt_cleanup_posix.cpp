#include <limits.h>
#include <pthread.h>
#include <signal.h>
#include <string.h>
#include <sys/wait.h>
#include <unistd.h>

#include <atomic>

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"

namespace platform {

namespace {

constexpr int Interruptions[] = {SIGINT, SIGTERM, SIGHUP};

// Set once at start, before any thread.
bool brokenPipeCleanedUp = false;

// The signals that remove the temporaries: a hold blocks them all.
sigset_t CleanedSet() {
    sigset_t set;
    sigemptyset(&set);
    for (int signal : Interruptions) sigaddset(&set, signal);
    if (brokenPipeCleanedUp) sigaddset(&set, SIGPIPE);
    return set;
}

void InstallUnlessIgnored(int signal, void (*handler)(int)) {
    struct sigaction previous {};
    if (sigaction(signal, nullptr, &previous) == 0 && previous.sa_handler == SIG_IGN) return;
    struct sigaction action {};
    action.sa_handler = handler;
    action.sa_mask = CleanedSet();  // one handler at a time
    sigaction(signal, &action, nullptr);
}

std::atomic<pid_t> childToEnd{0};

extern "C" void RemoveTemporariesAndEnd(int signal) {
    const pid_t child = childToEnd.load();
    if (child > 0 && kill(-child, SIGKILL) == 0) waitpid(child, nullptr, 0);
    RemoveRegisteredTemporaries();
    EndBySignal(signal);
}

char lostPagesMessage[PATH_MAX + 128];
size_t lostPagesMessageLength = 0;

// Several threads may read lost pages at once; the first one reports it.
std::atomic_flag lostPagesSeen = ATOMIC_FLAG_INIT;

extern "C" void RemoveTemporariesAndFail(int) {
    if (lostPagesSeen.test_and_set()) {
        for (;;) pause();  // until the first one ends the process
    }
    RemoveRegisteredTemporaries();
    ssize_t ignored = write(StandardError, lostPagesMessage, lostPagesMessageLength);
    (void)ignored;
    _exit(1);
}

}  // namespace

void InstallInterruptCleanup(BrokenPipe brokenPipe) {
    brokenPipeCleanedUp = brokenPipe == BrokenPipe::CleanedUp;
    HandleInterruptions(RemoveTemporariesAndEnd);
    if (brokenPipeCleanedUp) InstallUnlessIgnored(SIGPIPE, RemoveTemporariesAndEnd);
}

void HandleInterruptions(void (*handler)(int)) {
    for (int signal : Interruptions) InstallUnlessIgnored(signal, handler);
}

void EndBySignal(int signal) {
    struct sigaction standard {};
    standard.sa_handler = SIG_DFL;
    sigaction(signal, &standard, nullptr);
    raise(signal);
    // Within a handler the signal is blocked: unblocked, it ends the process here.
    sigset_t set;
    sigemptyset(&set);
    sigaddset(&set, signal);
    pthread_sigmask(SIG_UNBLOCK, &set, nullptr);
}

void SetChildToEnd(pid_t group) {
    childToEnd = group;
}

pid_t ChildToEnd() {
    return childToEnd.load();
}

void EndOnLostPages(const std::string& message) {
    const InterruptsHeld held;
    const size_t length = message.size() < sizeof lostPagesMessage ? message.size() : sizeof lostPagesMessage;
    memcpy(lostPagesMessage, message.data(), length);
    lostPagesMessageLength = length;
    struct sigaction action {};
    action.sa_handler = RemoveTemporariesAndFail;
    action.sa_mask = CleanedSet();
    sigaction(SIGBUS, &action, nullptr);
}

static_assert(sizeof(sigset_t) <= sizeof(InterruptsHeld::Saved));

InterruptsHeld::InterruptsHeld() {
    const sigset_t set = CleanedSet();
    pthread_sigmask(SIG_BLOCK, &set, reinterpret_cast<sigset_t*>(saved_.bytes));
}

InterruptsHeld::~InterruptsHeld() {
    pthread_sigmask(SIG_SETMASK, reinterpret_cast<sigset_t*>(saved_.bytes), nullptr);
}

}  // namespace platform
