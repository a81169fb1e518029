#include "tests/native/lzari/tool_harness.h"

#include <fcntl.h>
#include <pty.h>
#include <signal.h>
#include <stdlib.h>
#include <sys/wait.h>
#include <unistd.h>

#include <memory>
#include <random>
#include <stdexcept>

#include "codec/lzari.h"
#include "tools/common/container_bytes.h"

namespace {

std::string ReadUntilClosed(int fd) {
    std::string text;
    char buffer[4096];
    for (;;) {
        const ssize_t got = read(fd, buffer, sizeof buffer);
        if (got > 0) text.append(buffer, static_cast<size_t>(got));
        else if (got == 0 || errno != EINTR) return text;  // EOF, or EIO once the terminal's last user has gone
    }
}

void Redirect(const std::string& path, int target) {
    const int fd = open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
    if (fd < 0 || dup2(fd, target) < 0) _exit(127);
    close(fd);
}

}  // namespace

TempFolder::TempFolder() : ScratchFolder("lzari-test-") {}

void TempFolder::SetTimes(const std::string& name, const timespec& access, const timespec& modification) const {
    const timespec times[2] = {access, modification};
    if (utimensat(AT_FDCWD, PathOf(name).c_str(), times, 0) != 0) throw std::runtime_error("utimensat failed");
}

ToolResult TempFolder::Run(const std::vector<std::string>& args, bool terminal, rlim_t fileSizeLimit,
                           const std::optional<std::string>& input) const {
    if (input) Write(".run-in", *input);
    int master = -1, slave = -1;
    if (terminal && openpty(&master, &slave, nullptr, nullptr, nullptr) != 0) throw std::runtime_error("openpty failed");
    if (terminal) fcntl(master, F_SETFD, FD_CLOEXEC);
    const pid_t child = Start(args, slave, fileSizeLimit, input.has_value());
    if (terminal) close(slave);
    return Finish(child, master);
}

ToolResult TempFolder::RunUntilTemporary(const std::vector<std::string>& args,
                                         const std::function<void(pid_t)>& act, int ignored) const {
    const pid_t child = Start(args, -1, 0, false, ignored);
    siginfo_t ended {};
    while (!HasTemporary() && waitid(P_PID, static_cast<id_t>(child), &ended, WEXITED | WNOHANG | WNOWAIT) == 0 &&
           ended.si_pid == 0)
        usleep(200);
    if (HasTemporary()) act(child);
    return Finish(child, -1);
}

bool TempFolder::HasTemporary() const {
    for (const std::string& name : Entries())
        if (name[0] == '.') return true;
    return false;
}

pid_t TempFolder::Start(const std::vector<std::string>& args, int terminal, rlim_t fileSizeLimit, bool withInput, int ignored) const {
    // The tool's own streams go to files outside what Entries() reports.
    const pid_t child = fork();
    if (child < 0) throw std::runtime_error("fork failed");
    if (child > 0) return child;
    const int in = open(withInput ? PathOf(".run-in").c_str() : "/dev/null", O_RDONLY);
    if (in < 0 || dup2(in, STDIN_FILENO) < 0) _exit(127);
    Redirect(PathOf(".run-out"), STDOUT_FILENO);
    if (terminal >= 0) dup2(terminal, STDERR_FILENO), close(terminal);
    else Redirect(PathOf(".run-err"), STDERR_FILENO);
    // As from a shell: the signals the tool handles at their defaults (but `ignored`), none blocked.
    sigset_t none;
    sigemptyset(&none);
    sigprocmask(SIG_SETMASK, &none, nullptr);
    for (int signal : {SIGINT, SIGTERM, SIGHUP, SIGPIPE}) ::signal(signal, signal == ignored ? SIG_IGN : SIG_DFL);
    // With SIGXFSZ ignored (kept so across exec) a write past the limit fails with EFBIG.
    const rlimit bound = {fileSizeLimit, fileSizeLimit};
    if (fileSizeLimit != 0 && (signal(SIGXFSZ, SIG_IGN) == SIG_ERR || setrlimit(RLIMIT_FSIZE, &bound) != 0)) _exit(127);
    // TOOL_RUNNER runs another build of the tool, TOOL_UNDER_TEST, through it (Wine).
    const char* runner = getenv("TOOL_RUNNER");
    const char* tool = runner ? getenv("TOOL_UNDER_TEST") : LZARI_TOOL_PATH;
    std::vector<char*> argv = {const_cast<char*>(runner ? runner : tool), const_cast<char*>(tool)};
    if (!runner) argv.pop_back();
    for (const std::string& arg : args) argv.push_back(const_cast<char*>(arg.c_str()));
    argv.push_back(nullptr);
    if (tool && chdir(Path().c_str()) == 0) execv(argv[0], argv.data());
    _exit(127);
}

ToolResult TempFolder::Finish(pid_t child, int terminal) const {
    ToolResult result;
    if (terminal >= 0) {
        result.terminal = ReadUntilClosed(terminal);
        close(terminal);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0 && errno == EINTR) {}
    result.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : 128 + WTERMSIG(status);
    result.out = Read(".run-out");
    result.err = Read(".run-err");
    for (const char* stream : {".run-out", ".run-err", ".run-in"}) unlink(PathOf(stream).c_str());
    return result;
}

std::string TextBytes(size_t size) {
    std::string text;
    for (uint32_t i = 0; text.size() < size; i++) text += "payload ring of the container " + std::to_string(i * 7919 % 1009) + "\n";
    text.resize(size);
    return text;
}

std::string RandomBytes(size_t size, uint32_t seed) {
    std::mt19937 random(seed);
    std::string bytes(size, '\0');
    for (char& byte : bytes) byte = static_cast<char>(random() & 0xFF);
    return bytes;
}

std::string ContainerOf(const std::string& bytes) {
    auto state = std::make_unique<LzariState>();
    const auto container = EncodeContainer(state.get(), reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size(), 0);
    if (!container) throw std::runtime_error("out of memory");
    return std::string(container->begin(), container->end());
}

std::string LegacyOf(const std::string& container) {
    return "LZar" + container.substr(4, container.size() - 12);
}

std::string DecodeContainer(const std::string& container, int* version) {
    uint32_t length = 0;
    uint8_t* bytes = LzariDecode(reinterpret_cast<const uint8_t*>(container.data()),
                                 static_cast<uint32_t>(container.size()), &length);
    std::string decoded(reinterpret_cast<const char*>(bytes), bytes ? length : 0);
    free(bytes);
    *version = CodecState.status == LzariOk ? CodecState.version : -2;
    return decoded;
}
