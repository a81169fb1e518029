#include "tools/verify/child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "tools/common/program_search.h"
#include "tools/verify/sandbox.h"
#include "tools/verify/stop_signal.h"

namespace {

// What the stop handler and a SIGPIPE ignored for pipes to children leave.
void ResetSignals() {
    for (int signal : {SIGINT, SIGTERM, SIGHUP}) {
        struct sigaction current = {};
        sigaction(signal, nullptr, &current);
        if (current.sa_handler != SIG_IGN) ::signal(signal, SIG_DFL);
    }
    ::signal(SIGPIPE, SIG_DFL);
}

// ENVIRONMENT on top of this process's own, made before fork: the child
// only calls what is safe after it.
std::vector<std::string> ChildEnvironment(const std::vector<std::string>& environment) {
    std::vector<std::string> merged;
    for (char** variable = environ; *variable != nullptr; ++variable) {
        const std::string entry = *variable;
        const std::string name = entry.substr(0, entry.find('=') + 1);
        bool replaced = false;
        for (const std::string& own : environment) replaced = replaced || own.compare(0, name.size(), name) == 0;
        if (!replaced) merged.push_back(entry);
    }
    merged.insert(merged.end(), environment.begin(), environment.end());
    return merged;
}

std::vector<char*> Pointers(const std::vector<std::string>& strings) {
    std::vector<char*> pointers;
    for (const std::string& s : strings) pointers.push_back(const_cast<char*>(s.c_str()));
    pointers.push_back(nullptr);
    return pointers;
}

// The program runs as the kernel takes it: no shell is tried when it
// refuses the file. Why exec failed goes to the parent through FAILURE,
// which exec closes.
[[noreturn]] void ExecChild(const char* program, char* const* argv, char* const* envp, const ChildFiles& files,
                            int failure) {
    setpgid(0, 0);
    ResetSignals();
    const int null = open("/dev/null", O_RDWR);
    dup2(files.input >= 0 ? files.input : null, STDIN_FILENO);
    dup2(files.output >= 0 ? files.output : null, STDOUT_FILENO);
    dup2(files.error >= 0 ? files.error : files.output >= 0 ? files.output : null, STDERR_FILENO);
    // Nothing else of this process leaks into Wine's long-lived servers.
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
        if (fd != files.keep && fd != failure) close(fd);
    }
    execve(program, argv, envp);
    const int reason = errno;
    [[maybe_unused]] const ssize_t told = write(failure, &reason, sizeof reason);
    _exit(127);
}

int CodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

pid_t StartChild(const std::vector<std::string>& arguments, const ChildFiles& files, std::string& error) {
    const std::string program = ProgramPath(arguments[0]);
    if (program.empty()) {
        error = "cannot start " + arguments[0] + ": " + ProgramProblem(arguments[0]);
        return -1;
    }
    const ChildCommand command = Sandboxed({program, arguments, ChildEnvironment(files.environment)}, files.writable);
    std::vector<char*> argv = Pointers(command.arguments), envp = Pointers(command.environment);
    int failure[2];
    if (pipe2(failure, O_CLOEXEC) != 0) {
        error = "cannot start " + arguments[0] + ": " + std::strerror(errno);
        return -1;
    }
    const pid_t child = fork();
    if (child == 0) ExecChild(command.program.c_str(), argv.data(), envp.data(), files, failure[1]);
    const int forkError = errno;
    close(failure[1]);
    int reason = 0;
    ssize_t got;
    while ((got = read(failure[0], &reason, sizeof reason)) < 0 && errno == EINTR) {
    }
    close(failure[0]);
    if (child < 0 || got == sizeof reason) {
        if (child > 0) WaitChild(child);
        error = "cannot start " + arguments[0] + ": " + std::strerror(child < 0 ? forkError : reason);
        return -1;
    }
    setpgid(child, child);
    return child;
}

int WaitChild(pid_t child) {
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) return 128 + SIGKILL;
    }
    return CodeOf(status);
}

bool ChildEnded(pid_t child, int& code) {
    int status = 0;
    if (waitpid(child, &status, WNOHANG) != child) return false;
    code = CodeOf(status);
    return true;
}

int RunChild(const std::vector<std::string>& arguments, const ChildFiles& files, std::string& error,
             bool interruptible) {
    const pid_t child = StartChild(arguments, files, error);
    if (child < 0) return -1;
    if (interruptible) SetInterruptibleChild(child);
    const int code = WaitChild(child);
    if (interruptible) SetInterruptibleChild(0);
    if (code == 127) error = "cannot run " + arguments[0];
    return code;
}

int RunChildWithin(const std::vector<std::string>& arguments, const ChildFiles& files, int milliseconds,
                   std::string& error) {
    const pid_t child = StartChild(arguments, files, error);
    if (child < 0) return -1;
    SetInterruptibleChild(child);
    const int stepMs = 20;
    int code = -1;
    for (int waited = 0; !ChildEnded(child, code); waited += stepMs) {
        if (waited >= milliseconds) {
            EndChild(child);
            error = arguments[0] + " did not end within " + std::to_string(milliseconds / 1000) + " s";
            code = -1;
            break;
        }
        usleep(stepMs * 1000);
    }
    SetInterruptibleChild(0);
    return code;
}

void EndChild(pid_t child) {
    if (child <= 0) return;
    kill(-child, SIGTERM);
    WaitChild(child);
}

namespace {

bool KilledBySignal(int code) {
    return code > 128 && code < 128 + NSIG;
}

}  // namespace

std::string ChildEnding(int code) {
    return KilledBySignal(code) ? "killed by signal " + std::to_string(code - 128)
                                : "exit code " + std::to_string(code);
}

std::string HowChildEnded(int code) {
    return (KilledBySignal(code) ? "was " : "ended with ") + ChildEnding(code);
}
