// The sandbox that `mkinstaller verify` runs its programs in (Xvfb, Wine with
// the GUI driver and the installer under test, import), made by bubblewrap
// (bwrap). The installer is a program of unknown intent, and under Wine it
// reaches host files through Unix paths or plain system calls, and starts
// Linux programs. In the sandbox it sees the host's system folders read-only
// and no other host file; it writes only the run's work folder; it has no
// network, and so reaches no abstract socket, as another X display's; it sees
// the processes of its own sandbox alone, which end with its command or with
// verify; and it gets only the environment variables that Wine and X need.
//
// Each child gets a sandbox of its own. X clients reach the run's display
// through the work folder's x11, mounted where X keeps its sockets; a Wine
// command ends its prefix's server itself (WineSession), as nothing that it
// leaves running outlives it.
#pragma once

#include <string>
#include <vector>

// Why bwrap cannot make a sandbox here, in its own words, or "" when it can.
std::string SandboxProblem();

// Whether a sandbox shows PATH: it is in one of the system folders.
bool SandboxShows(const std::string& path);

// While it lives, StartChild runs every child in a sandbox that writes WORK.
class ChildSandbox {
public:
    explicit ChildSandbox(const std::string& work);
    ~ChildSandbox();
    ChildSandbox(const ChildSandbox&) = delete;
    ChildSandbox& operator=(const ChildSandbox&) = delete;
};

// What StartChild executes.
struct ChildCommand {
    std::string program;  // full path
    std::vector<std::string> arguments;
    std::vector<std::string> environment;  // "NAME=value"
};

// COMMAND run through bwrap with the environment narrowed, while a
// ChildSandbox lives; WRITABLE, unless empty, is one more folder it may write
// (a full path). Else COMMAND as it is.
ChildCommand Sandboxed(const ChildCommand& command, const std::string& writable);
