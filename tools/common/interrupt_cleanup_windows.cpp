#include <windows.h>

#include "tools/common/interrupt_cleanup.h"

namespace platform {

namespace {

// The console handler runs on a thread of its own: the lock keeps it from
// seeing a half-registered temporary, and a hold keeps it waiting.
CRITICAL_SECTION& InterruptLock() {
    static struct Lock {
        Lock() { InitializeCriticalSection(&section); }
        CRITICAL_SECTION section;
    } lock;
    return lock.section;
}

BOOL WINAPI RemoveTemporariesOnEvent(DWORD) {
    EnterCriticalSection(&InterruptLock());  // kept: the process ends before another temporary is made
    RemoveRegisteredTemporaries();
    // Not handled: the default handler ends the process as usual.
    return FALSE;
}

}  // namespace

// Windows has no broken-pipe signal: a write to a closed pipe fails.
void InstallInterruptCleanup(BrokenPipe) {
    SetConsoleCtrlHandler(RemoveTemporariesOnEvent, TRUE);
}

InterruptsHeld::InterruptsHeld() : saved_() {
    EnterCriticalSection(&InterruptLock());
}

InterruptsHeld::~InterruptsHeld() {
    LeaveCriticalSection(&InterruptLock());
}

}  // namespace platform
