// What an interruption (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl+C,
// Ctrl+Break, closing the console) must undo before a tool ends: every
// registered temporary file. The tool then ends as it would have without the
// clean-up. interrupt_cleanup_posix.cpp and interrupt_cleanup_windows.cpp
// implement it, temporary_registry.cpp keeps the files.
#pragma once

#include <sys/types.h>

#include <string>

namespace platform {

// Whether a write to a closed pipe (SIGPIPE) removes the temporaries too.
// It is left at its default where threads are started while interruptions
// are held: those threads must still end the process by a broken pipe.
enum class BrokenPipe { Default, CleanedUp };

// Installs the clean-up; a signal ignored from the start (nohup) stays ignored.
void InstallInterruptCleanup(BrokenPipe brokenPipe);

// Registers a temporary file to remove on an interruption; the slot for
// ForgetTemporary, or -1 when the name is too long or every slot is taken.
int RegisterTemporary(const std::string& path);
void ForgetTemporary(int slot);
// The handlers' work: removes every registered temporary.
void RemoveRegisteredTemporaries();

// Holds interruptions back in this thread while it lives, so that a
// temporary is never on disk without being registered, nor registered after
// it is gone. Threads started meanwhile never take those signals: the
// handler runs on a thread that writes files, stopping it. Nests.
class InterruptsHeld {
public:
    InterruptsHeld();
    ~InterruptsHeld();
    InterruptsHeld(const InterruptsHeld&) = delete;
    InterruptsHeld& operator=(const InterruptsHeld&) = delete;

    // The signal mask to restore, where the system has one.
    struct Saved {
        alignas(16) unsigned char bytes[128];
    };

private:
    Saved saved_;
};

#ifndef _WIN32
// Installs `handler` for SIGINT, SIGTERM and SIGHUP, each one not ignored
// from the start; without SA_RESTART, so that a blocked wait returns.
void HandleInterruptions(void (*handler)(int));
// Ends the process by `signal`, as its default action does.
void EndBySignal(int signal);
// The process group of the child being waited for (its leader's pid), 0 for
// none: an interruption ends it and waits for it before the temporaries go,
// so that nothing it writes outlives the tool.
void SetChildToEnd(pid_t group);
pid_t ChildToEnd();
// A mapped input cut short (SIGBUS) ends the process: the temporaries are
// removed, `message` goes to standard error and the exit status is 1.
void EndOnLostPages(const std::string& message);
#endif

}  // namespace platform
