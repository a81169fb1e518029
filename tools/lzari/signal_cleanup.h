// The one temporary output that may exist at a time, removed when SIGINT,
// SIGTERM, SIGHUP or SIGPIPE ends the process, which then dies of that
// signal as it would have without the tool's handler.
#pragma once

#include <signal.h>

#include <string>

// Installs the handlers; signals that were ignored at start stay ignored.
void InstallSignalCleanup();

// Holds the handled signals back while it lives, so that a temporary is
// never on disk without being registered, nor registered after it is gone.
class SignalsHeld {
public:
    SignalsHeld();
    ~SignalsHeld();
    SignalsHeld(const SignalsHeld&) = delete;
    SignalsHeld& operator=(const SignalsHeld&) = delete;

private:
    sigset_t previous_;
};

// Both only while the signals are held. False when the name is too long
// to be kept (longer than any that the system opens).
bool RegisterTemporary(const std::string& path);
void ForgetTemporary();
