#include "toolchain.h"

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>

#include "signal_cleanup.h"

namespace fs = std::filesystem;

bool RunProgram(const std::vector<std::string>& arguments, const std::string& folder, std::string& error) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    pid_t child;
    {
        // The child leads a process group of its own, which a signal ends as
        // a whole (the compiler driver's children included); it is tracked
        // before any signal can be handled.
        const SignalsHeld held;
        child = fork();
        if (child == 0) {
            setpgid(0, 0);
            ResetSignalsInChild();
            if (chdir(folder.c_str()) != 0) _exit(126);
            execvp(argv[0], argv.data());
            _exit(127);
        }
        if (child > 0) {
            setpgid(child, child);
            TrackChildGroup(child);
        }
    }
    if (child < 0) {
        error = std::string("cannot start ") + arguments[0] + ": " + std::strerror(errno);
        return false;
    }
    int status = 0;
    pid_t waited;
    while ((waited = waitpid(child, &status, 0)) < 0 && errno == EINTR) {
    }
    TrackChildGroup(0);
    if (waited < 0) {
        error = "lost track of " + arguments[0];
        return false;
    }
    if (WIFEXITED(status) && WEXITSTATUS(status) == 0) return true;
    if (WIFEXITED(status) && WEXITSTATUS(status) == 127) {
        error = "cannot run " + arguments[0] + " (is the MinGW toolchain installed?)";
    } else {
        error = arguments[0] + " failed";
    }
    return false;
}

namespace {

bool IsExecutableFile(const fs::path& path) {
    std::error_code error;
    return fs::is_regular_file(path, error) && access(path.c_str(), X_OK) == 0;
}

}  // namespace

std::string ProgramProblem(const std::string& program) {
    if (program.find('/') != std::string::npos) {
        return IsExecutableFile(program) ? "" : "'" + program + "' is not an executable file";
    }
    const char* path = std::getenv("PATH");
    const std::string folders = path != nullptr ? path : "/bin:/usr/bin";
    for (size_t start = 0; start <= folders.size();) {
        const size_t end = std::min(folders.find(':', start), folders.size());
        const std::string folder = end == start ? "." : folders.substr(start, end - start);
        if (IsExecutableFile(fs::path(folder) / program)) return {};
        start = end + 1;
    }
    return "'" + program + "' is not on the PATH";
}

namespace {

// The steps run in the work folder: a program named by a relative path must
// be found from where mkinstaller was started. Bare names go to the PATH.
std::string ProgramPath(const std::string& program) {
    return program.find('/') == std::string::npos ? program : fs::absolute(program).string();
}

}  // namespace

bool BuildSetupExe(const Toolchain& toolchain, const std::string& workDir, std::string& error) {
    const std::string includeDir = fs::absolute(toolchain.includeDir).string();
    const std::string runtime = fs::absolute(toolchain.runtime).string();
    const std::string compiler = ProgramPath(toolchain.compiler);
    const std::string windres = ProgramPath(toolchain.windres);
    const std::vector<std::vector<std::string>> steps = {
        {compiler, "-c", "-Os", "-fno-exceptions", "-fno-rtti", "-I", includeDir, "-o", "manifest.o",
         "manifest.cpp"},
        {windres, "--codepage=1252", "-O", "coff", "-i", "setup.rc", "-o", "resources.o"},
        // WinMain lives in the runtime library, which the linker scans before
        // the C runtime asks for it: name it up front.
        {compiler, "-o", "setup.exe", "manifest.o", "resources.o", "-Wl,--undefined=_WinMain@16", runtime,
         "-mwindows", "-static", "-static-libgcc", "-static-libstdc++", "-Wl,--gc-sections", "-s",
         "-Wl,--no-insert-timestamp", "-lole32", "-lshell32", "-luuid", "-lgdi32"},
    };
    for (const std::vector<std::string>& step : steps) {
        if (!RunProgram(step, workDir, error)) return false;
    }
    return true;
}
