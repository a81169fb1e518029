// What a signal (SIGINT, SIGTERM, SIGHUP) must undo before the tool ends:
// every temporary file. Then the tool ends by the same signal.
#pragma once

#include <signal.h>

#include <string>

// Installs the handlers; a signal ignored from the start (nohup) stays ignored.
void CleanUpOnSignals();

// Blocks the three signals in this thread while it lives. Held around
// creating and registering a temporary, so that none is left unregistered,
// and around starting threads, which then never take a signal: the handler
// must run on the thread that writes files, stopping it.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t saved_;
};

// Registers a temporary file to remove on a signal; returns the handle for
// ForgetTemporary, -1 when none.
int TrackTemporary(const std::string& path);
void ForgetTemporary(int handle);
