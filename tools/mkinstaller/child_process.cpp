#include "child_process.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

#include "stop_signal.h"

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

[[noreturn]] void ExecChild(char* const* argv, const ChildFiles& files) {
    setpgid(0, 0);
    ResetSignals();
    const int null = open("/dev/null", O_RDWR);
    dup2(files.input >= 0 ? files.input : null, STDIN_FILENO);
    dup2(files.output >= 0 ? files.output : null, STDOUT_FILENO);
    dup2(files.output >= 0 ? files.output : null, STDERR_FILENO);
    // Nothing else of this process leaks into Wine's long-lived servers.
    for (int fd = STDERR_FILENO + 1; fd < 1024; ++fd) {
        if (fd != files.keep) close(fd);
    }
    execvp(argv[0], argv);
    _exit(127);
}

int CodeOf(int status) {
    if (WIFEXITED(status)) return WEXITSTATUS(status);
    return 128 + (WIFSIGNALED(status) ? WTERMSIG(status) : 0);
}

}  // namespace

pid_t StartChild(const std::vector<std::string>& arguments, const ChildFiles& files, std::string& error) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);
    const pid_t child = fork();
    if (child == 0) ExecChild(argv.data(), files);
    if (child < 0) {
        error = "cannot start " + arguments[0] + ": " + std::strerror(errno);
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

void EndChild(pid_t child) {
    if (child <= 0) return;
    kill(-child, SIGTERM);
    WaitChild(child);
}
