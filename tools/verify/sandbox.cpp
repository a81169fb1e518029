#include "tools/verify/sandbox.h"

#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>

#include "tools/common/program_search.h"
#include "tools/verify/child_process.h"

namespace fs = std::filesystem;

namespace {

const char* const SystemFolders[] = {"/usr", "/etc", "/bin", "/sbin", "/lib", "/lib32", "/lib64", "/libx32"};
const char* const PassingVariables[] = {"PATH",     "HOME", "USER",    "LOGNAME",   "LANG",
                                        "LANGUAGE", "TZ",   "DISPLAY", "XAUTHORITY"};
const char* const PassingPrefixes[] = {"LC_", "XDG_", "WINE"};
const int TrialMs = 10000;

std::string sandboxWork;  // "" while no ChildSandbox lives

// The namespaces and the folders every sandbox has; the work folder's binds
// follow, then the read-only root's remount.
std::vector<std::string> SandboxOptions() {
    std::vector<std::string> options = {"--unshare-all", "--die-with-parent", "--new-session"};
    for (const char* folder : SystemFolders) options.insert(options.end(), {"--ro-bind-try", folder, folder});
    options.insert(options.end(), {"--proc", "/proc", "--dev", "/dev", "--tmpfs", "/tmp"});
    return options;
}

bool Passes(const std::string& variable) {
    const std::string name = variable.substr(0, variable.find('='));
    return std::any_of(std::begin(PassingVariables), std::end(PassingVariables),
                       [&](const char* kept) { return name == kept; }) ||
           std::any_of(std::begin(PassingPrefixes), std::end(PassingPrefixes),
                       [&](const char* prefix) { return name.rfind(prefix, 0) == 0; });
}

std::string LastLine(std::string text) {
    while (!text.empty() && text.back() == '\n') text.pop_back();
    return text.substr(text.rfind('\n') + 1);
}

std::string ReadAll(int fd) {
    std::string text;
    char buffer[4096];
    for (ssize_t got; (got = read(fd, buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(got));
    return text;
}

}  // namespace

std::string SandboxProblem() {
    const std::string bwrap = ProgramPath("bwrap");
    if (bwrap.empty()) return ProgramProblem("bwrap") + " (Debian's package bubblewrap)";
    std::vector<std::string> trial = SandboxOptions();
    trial.insert(trial.begin(), bwrap);
    trial.insert(trial.end(), {"--remount-ro", "/", "--", "true"});
    int output[2];
    if (pipe(output) != 0) return "cannot make a pipe";
    ChildFiles files;
    files.output = output[1];
    std::string error;
    const int code = RunChildWithin(trial, files, TrialMs, error);
    close(output[1]);
    const std::string said = LastLine(ReadAll(output[0]));
    close(output[0]);
    if (code == 0) return "";
    if (code < 0) return error;
    return said.empty() ? "bwrap " + HowChildEnded(code) : said;
}

bool SandboxShows(const std::string& path) {
    const std::string full = fs::absolute(path).lexically_normal().string();
    return std::any_of(std::begin(SystemFolders), std::end(SystemFolders),
                       [&](const std::string& folder) { return full.rfind(folder + "/", 0) == 0; });
}

ChildSandbox::ChildSandbox(const std::string& work) {
    sandboxWork = work;
    mkdir((work + "/x11").c_str(), 0700);
}

ChildSandbox::~ChildSandbox() {
    sandboxWork.clear();
}

ChildCommand Sandboxed(const ChildCommand& command, const std::string& writable) {
    if (sandboxWork.empty()) return command;
    ChildCommand sandboxed{ProgramPath("bwrap"), {"bwrap"}, {}};
    const std::vector<std::string> options = SandboxOptions();
    sandboxed.arguments.insert(sandboxed.arguments.end(), options.begin(), options.end());
    sandboxed.arguments.insert(sandboxed.arguments.end(),
                               {"--bind", sandboxWork, sandboxWork, "--bind", sandboxWork + "/x11", "/tmp/.X11-unix"});
    if (!writable.empty()) sandboxed.arguments.insert(sandboxed.arguments.end(), {"--bind", writable, writable});
    sandboxed.arguments.insert(sandboxed.arguments.end(), {"--remount-ro", "/", "--chdir", sandboxWork, "--",
                                                           fs::absolute(command.program).string()});
    sandboxed.arguments.insert(sandboxed.arguments.end(), command.arguments.begin() + 1, command.arguments.end());
    std::copy_if(command.environment.begin(), command.environment.end(), std::back_inserter(sandboxed.environment),
                 Passes);
    return sandboxed;
}
