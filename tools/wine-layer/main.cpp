// wine-layer: the Wine layer of `mkinstaller verify` as a command, for the
// scripts that run Windows programs here (the demo, the benchmark and the
// Wine tests), so that they boot, copy and use prefixes as verify does.
// Wine's environment (HOME, WINEDLLOVERRIDES, DISPLAY, ...) is the caller's.
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <optional>

#include "tools/mkinstaller/stub_file.h"
#include "tools/verify/child_process.h"
#include "tools/verify/stop_signal.h"
#include "tools/verify/wine_prefix.h"

namespace fs = std::filesystem;

namespace {

int Fail(const std::string& message) {
    std::fprintf(stderr, "wine-layer: %s\n", message.c_str());
    return 1;
}

WineLoader BootLoader(const std::string& arch) {
    if (arch == "win32") {
        const std::string loader = Wine32LoaderPath();
        return {loader, {"WINEARCH=win32", "WINELOADER=" + loader}};
    }
    WineLoader loader = Wine64Loader();
    loader.environment.push_back("WINEARCH=win64");
    return loader;
}

// An advisory lock on PATH, held while the object lives.
class FileLock {
public:
    FileLock(const std::string& path, int operation) : fd_(open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644)) {
        if (fd_ >= 0 && flock(fd_, operation) != 0) {
            close(fd_);
            fd_ = -1;
        }
    }
    ~FileLock() {
        if (fd_ >= 0) close(fd_);
    }
    FileLock(const FileLock&) = delete;
    FileLock& operator=(const FileLock&) = delete;
    bool Held() const { return fd_ >= 0; }

private:
    int fd_;
};

// Boots the template in DIR unless it is ready; a caller that finds it being
// booted waits for it.
bool EnsureTemplate(const std::string& dir, const std::string& arch, std::string& error) {
    const FileLock lock(dir + ".lock", LOCK_EX);
    if (!lock.Held()) {
        error = "cannot lock " + dir + ".lock";
        return false;
    }
    if (fs::exists(dir + "/.ready")) return true;
    std::error_code ignored;
    fs::remove_all(dir, ignored);
    setenv("WINEPREFIX", dir.c_str(), 1);
    WinePrefix prefix(dir, BootLoader(arch));
    if (!prefix.Create(dir + "-wineboot.log", error)) return false;
    return std::ofstream(dir + "/.ready").good();
}

struct PrefixOptions {
    std::string dest, arch = "win64", templateDir, winver;
    bool noStartMenu = false;
};

int MakePrefix(const PrefixOptions& options) {
    std::string error;
    setenv("WINEPREFIX", options.dest.c_str(), 1);
    WinePrefix prefix(options.dest, BootLoader(options.arch));
    if (options.templateDir.empty()) {
        if (!prefix.Create(options.dest + "-wineboot.log", error)) return Fail(error);
    } else {
        if (!EnsureTemplate(options.templateDir, options.arch, error)) return Fail(error);
        const FileLock shared(options.templateDir + ".lock", LOCK_SH);
        if (!shared.Held() || !prefix.CopyOf(options.templateDir, error)) return Fail(error);
    }
    if (!options.winver.empty()) prefix.SetWindowsVersion(options.winver);
    if (options.noStartMenu) prefix.RemoveStartMenu();
    std::printf("%s\n", prefix.Profile().c_str());
    return 0;
}

bool IsWindowsPath(const std::string& path) {
    return path.size() > 2 && path[1] == ':' && path[2] == '\\';
}

// The Windows path of PROGRAM in PREFIX: copied into C:\FOLDER unless it is
// a Windows path already; "" with ERROR when the copy fails. Without a copy,
// Wine finds a program by a Unix path on one of the prefix's drives.
std::string Staged(const WinePrefix& prefix, const std::string& program, const std::string& folder,
                   std::string& error) {
    if (IsWindowsPath(program)) return program;
    const std::string windowsPath = "C:\\" + folder + "\\" + fs::path(program).filename().string();
    return prefix.Stage(program, windowsPath, error) ? windowsPath : "";
}

// A bare name (cmd) is a program of the prefix's own, which Wine finds.
bool IsBareName(const std::string& program) {
    return program.find_first_of("/\\") == std::string::npos;
}

int Run(const std::string& prefixPath, const std::string& folder, std::vector<std::string> command) {
    const WinePrefix prefix(prefixPath, InstalledWine());
    const std::string program = command[0];
    std::string error;
    std::optional<Arch> arch = Arch::X64;
    if (!IsBareName(program)) arch = ProgramArch(IsWindowsPath(program) ? prefix.UnixPath(program) : program, error);
    if (!arch) return Fail(error);
    if (!folder.empty()) command[0] = Staged(prefix, program, folder, error);
    if (command[0].empty()) return Fail(error);
    const WineLoader loader = *arch == Arch::X64 ? Wine64Loader() : InstalledWine();
    command.insert(command.begin(), loader.program);
    setenv("WINEPREFIX", prefixPath.c_str(), 1);
    ChildFiles files;
    files.input = STDIN_FILENO;
    files.output = STDOUT_FILENO;
    files.error = STDERR_FILENO;
    files.environment = loader.environment;
    StopOnSignals();
    const int code = RunChild(command, files, error);
    EndByStopSignal();
    return code < 0 ? Fail(error) : code;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app{"The Wine layer of mkinstaller verify, for the scripts that run Windows programs"};
    app.require_subcommand(1);
    PrefixOptions prefixOptions;
    std::string prefixPath, file, folder;

    CLI::App* prefix = app.add_subcommand("prefix", "a prefix, booted or copied from a template; prints its profile");
    prefix->add_option("DEST", prefixOptions.dest)->required();
    prefix->add_option("--arch", prefixOptions.arch)->check(CLI::IsMember({"win64", "win32"}));
    prefix->add_option("--template", prefixOptions.templateDir, "copy this template, booted first unless ready");
    prefix->add_option("--winver", prefixOptions.winver, "the Windows version Wine reports");
    prefix->add_flag("--no-start-menu", prefixOptions.noStartMenu, "no Start Menu folder in the profile");
    CLI::App* run = app.add_subcommand("run", "runs PROGRAM ARGS... in a prefix, with the loader of its machine");
    run->add_option("--into", folder, "copy a program from outside into this folder of drive C first");
    run->add_option("PREFIX", prefixPath)->required();
    run->prefix_command();  // PROGRAM and its arguments, whatever they look like
    CLI::App* stage = app.add_subcommand("stage", "copies FILE into C:\\FOLDER of a prefix; prints its path there");
    stage->add_option("--into", folder)->required();
    stage->add_option("PREFIX", prefixPath)->required();
    stage->add_option("FILE", file)->required();
    CLI::App* arch = app.add_subcommand("arch", "x86 or x64: the machine of a Windows program");
    arch->add_option("FILE", file)->required();
    CLI::App* problem32 = app.add_subcommand("problem32", "why 32-bit Windows programs cannot run here, or nothing");
    CLI11_PARSE(app, argc, argv);

    std::string error;
    if (prefix->parsed()) return MakePrefix(prefixOptions);
    if (run->parsed()) {
        const std::vector<std::string> command = run->remaining();
        return command.empty() ? Fail("run: name the program") : Run(prefixPath, folder, command);
    }
    if (stage->parsed()) {
        const std::string windowsPath = Staged(WinePrefix(prefixPath, InstalledWine()), file, folder, error);
        if (windowsPath.empty()) return Fail(error);
        std::printf("%s\n", windowsPath.c_str());
    }
    if (arch->parsed()) {
        const std::optional<Arch> machine = ProgramArch(file, error);
        if (!machine) return Fail(error);
        std::printf("%s\n", *machine == Arch::X64 ? "x64" : "x86");
    }
    if (problem32->parsed()) {
        const std::string problem = Wine32Problem();
        if (!problem.empty()) std::printf("the 32-bit Wine loader: %s\n", problem.c_str());
    }
    return 0;
}
