// What an interruption (SIGINT, SIGTERM, SIGHUP; on Windows Ctrl+C, closing
// the console) must undo before the tool ends: every temporary file. Then
// the tool ends as it would have without the cleanup.
#pragma once

#include <string>

// Installs the handlers; a signal ignored from the start (nohup) stays ignored.
void CleanUpOnSignals();

// Holds interruptions back in this thread while it lives. Held around
// creating and registering a temporary, so that none is left unregistered,
// and around starting threads, which then never take a signal: the handler
// must run on the thread that writes files, stopping it.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

    // What the system needs to restore afterwards.
    struct Saved {
        alignas(16) unsigned char bytes[128];
    };

private:
    Saved saved_;
};

// Registers a temporary file to remove on a signal; returns the handle for
// ForgetTemporary, -1 when none.
int TrackTemporary(const std::string& path);
void ForgetTemporary(int handle);
// The handler's work: removes every registered temporary.
void RemoveTemporaries();
