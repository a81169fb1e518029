#include "toolchain.h"

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>

namespace fs = std::filesystem;

bool RunProgram(const std::vector<std::string>& arguments, const std::string& folder, std::string& error) {
    std::vector<char*> argv;
    for (const std::string& argument : arguments) argv.push_back(const_cast<char*>(argument.c_str()));
    argv.push_back(nullptr);

    const pid_t child = fork();
    if (child < 0) {
        error = std::string("cannot start ") + arguments[0] + ": " + std::strerror(errno);
        return false;
    }
    if (child == 0) {
        if (chdir(folder.c_str()) != 0) _exit(126);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    int status = 0;
    while (waitpid(child, &status, 0) < 0) {
        if (errno != EINTR) {
            error = "lost track of " + arguments[0];
            return false;
        }
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
        // setup.exe starts at the runtime's SetupEntry, without the C runtime's
        // start-up code, as in the runtime's own link (app/CMakeLists.txt).
        {compiler, "-o", "setup.exe", "manifest.o", "resources.o", runtime, "-mwindows", "-nostartfiles",
         "-Wl,-e,_SetupEntry", "-Wl,--disable-auto-import", "-Wl,--disable-runtime-pseudo-reloc", "-static",
         "-static-libgcc", "-static-libstdc++", "-Wl,--gc-sections", "-s", "-Wl,--no-insert-timestamp", "-lole32",
         "-lshell32", "-luuid", "-lgdi32"},
    };
    for (const std::vector<std::string>& step : steps) {
        if (!RunProgram(step, workDir, error)) return false;
    }
    return true;
}
