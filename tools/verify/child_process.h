// Programs that mkinstaller starts: Wine, Xvfb and import for verify,
// osslsigncode to sign. Each runs in a process group of its own, with the
// environment of this process, and in a sandbox while a ChildSandbox lives
// (sandbox.h). The one being waited for ends with the tool on an
// interruption (platform::SetChildToEnd).
#pragma once

#include <sys/types.h>

#include <string>
#include <vector>

// What a child gets besides its arguments.
struct ChildFiles {
    int input = -1;                        // descriptor for stdin; -1: /dev/null
    int output = -1;                       // descriptor for stdout and stderr; -1: /dev/null
    int error = -1;                        // descriptor for stderr alone; -1: as stdout
    int keep = -1;                         // one more descriptor the child keeps open, -1 for none
    std::vector<std::string> environment;  // "NAME=value", set for the child alone
    std::string writable;                  // a folder that a sandboxed child may also write (full path)
};

// Starts ARGUMENTS[0] (looked up on the PATH); returns its pid, or -1 with
// ERROR saying why: not found, or refused by the system (as "Exec format
// error" for a program of a machine the kernel does not run).
pid_t StartChild(const std::vector<std::string>& arguments, const ChildFiles& files, std::string& error);

// Waits for a child: its exit code, or 128 + the signal that ended it.
// A stop signal (stop_signal.h) does not end the wait: the child is ended.
int WaitChild(pid_t child);

// How a child with CODE (as from WaitChild) ended: "exit code 3" or
// "killed by signal 9"; HowChildEnded words it to follow the child's name:
// "ended with exit code 3", "was killed by signal 9".
std::string ChildEnding(int code);
std::string HowChildEnded(int code);

// Whether a child has ended, without waiting; CODE as from WaitChild.
bool ChildEnded(pid_t child, int& code);

// Starts and waits; -1 when it could not be started. An interruptible child
// is ended when a stop signal arrives; the others (clean-up) run to the end.
int RunChild(const std::vector<std::string>& arguments, const ChildFiles& files, std::string& error,
             bool interruptible = true);

// Starts and waits at most MILLISECONDS: its exit code, or -1 when it could
// not be started or did not end in time (then it is ended), ERROR saying why.
int RunChildWithin(const std::vector<std::string>& arguments, const ChildFiles& files, int milliseconds,
                   std::string& error);

// Ends a child's process group and waits for it.
void EndChild(pid_t child);
