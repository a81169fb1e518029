#include "tools/mkinstaller/verify_command.h"

#include <signal.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>

#include "common/cp1252.h"
#include "tools/verify/temp_folder.h"
#include "tools/mkinstaller/folder_rule.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/verify/private_display.h"
#include "tools/verify/stop_signal.h"
#include "tools/common/program_search.h"
#include "tools/mkinstaller/stub_file.h"
#include "tools/mkinstaller/command_check.h"
#include "tools/mkinstaller/verify_checks.h"
#include "tools/verify/driver_session.h"
#include "tools/verify/install_steps.h"
#include "tools/verify/sandbox.h"
#include "tools/verify/wine_prefix.h"

namespace fs = std::filesystem;

const char* DriverFileName(Arch arch) {
    return arch == Arch::X64 ? "driver-x64.exe" : "driver.exe";
}

const std::vector<std::string> WineWindowsVersions = {
    "win11", "win10", "win81", "win8",  "win2008r2", "win7", "win2008", "vista", "win2003", "winxp64",
    "winxp", "win2k", "winme", "win98", "win95",     "nt40", "nt351",   "win31", "win30",   "win20"};

namespace {

// No drive of the prefix reaches the host: both programs run from drive C.
const char SetupPath[] = "C:\\Downloads\\setup.exe";
const char DriverPath[] = "C:\\harness\\driver.exe";

struct Install {
    std::string version;  // empty: Wine's default
    std::string folder;   // Windows-1252
    bool chosen;          // through the folder browser
    std::string label;    // names the install in messages
    std::string shotPrefix;
};

// A failure that a stop signal caused is not reported.
int Fail(const std::string& message) {
    if (StopSignal() == 0) std::fprintf(stderr, "mkinstaller verify: %s\n", message.c_str());
    return 1;
}

// What a run starts for a setup program of one arch. The prefix is booted
// by the 64-bit loader, which works also where the 32-bit one cannot; the
// x86 driver runs through `wine` (the 32-bit loader) in that prefix.
struct Launch {
    Arch arch;
    std::string driver;  // "" when none is given or installed
    WineLoader boot;
    WineLoader driverLoader;
};

Launch LaunchFor(Arch arch, const VerifyOptions& options) {
    Launch launch{arch, options.driver, Wine64Loader(), arch == Arch::X64 ? Wine64Loader() : InstalledWine()};
    if (launch.driver.empty()) launch.driver = FindBesideStub(DriverFileName(arch));
    return launch;
}

// Stops an x86 run at once where the 32-bit loader cannot start. Exit code
// 2: no install was tried, and none can be on this machine.
std::optional<int> RefuseWithout32BitSupport(Arch arch) {
    const std::string problem = arch == Arch::X86 ? Wine32Problem() : "";
    if (problem.empty()) return std::nullopt;
    Fail("this machine cannot run 32-bit Windows programs (the 32-bit Wine loader: " + problem +
         "); pack with arch = \"x64\" in [product], or verify on a machine with 32-bit support");
    return 2;
}

const char NoSandboxAdvice[] = "; --no-sandbox runs it unconfined, with all your rights";

// Everything a run needs that can be checked before Wine starts.
bool CheckPrerequisites(const VerifyOptions& options, const std::optional<Launch>& launch,
                        std::vector<std::string>& problems) {
    std::error_code error;
    if (!options.driver.empty() && !fs::is_regular_file(options.driver, error)) {
        problems.push_back("no GUI driver at '" + options.driver + "' (--driver)");
    } else if (launch && launch->driver.empty()) {
        problems.push_back(std::string("no GUI driver ") + DriverFileName(launch->arch) +
                           " installed beside the stub for an " + ArchName(launch->arch) +
                           " setup program; name one with --driver");
    }
    std::vector<std::string> programs = {"wineserver", "Xvfb"};
    if (launch) programs.insert(programs.begin(), {launch->boot.program, launch->driverLoader.program});
    if (!options.shotsFolder.empty()) programs.push_back("import");
    programs.erase(std::unique(programs.begin(), programs.end()), programs.end());
    for (const std::string& program : programs) {
        const std::string problem = ProgramProblem(program);
        if (!problem.empty()) problems.push_back(problem + " (needed to run the installer)");
        if (problem.empty() && !options.noSandbox && !SandboxShows(ProgramPath(program))) {
            problems.push_back(ProgramPath(program) + " is outside the system folders that the sandbox shows" +
                               NoSandboxAdvice);
        }
    }
    const std::string sandboxProblem = options.noSandbox ? "" : SandboxProblem();
    if (!sandboxProblem.empty()) {
        problems.push_back("cannot run the installer in a sandbox: " + sandboxProblem + NoSandboxAdvice);
    }
    if (!options.shotsFolder.empty() && (fs::create_directories(options.shotsFolder, error), error)) {
        problems.push_back("cannot make the screenshot folder '" + options.shotsFolder + "': " + error.message());
    }
    return problems.empty();
}

std::vector<Install> PlanInstalls(const VerifyOptions& options, const ProductManifest& manifest) {
    std::string defaultFolder = manifest.defaultFolder;
    NormaliseInstallFolder(defaultFolder);
    const std::optional<std::string> chosen =
        options.folder.empty() ? std::nullopt : InstallFolderOption(options.folder);
    std::vector<std::string> versions = options.windowsVersions;
    if (versions.empty()) versions.push_back("");
    std::vector<Install> installs;
    for (const std::string& version : versions) {
        const std::string on = version.empty() ? "" : " on " + version;
        const std::string shot = version.empty() ? "" : version + "-";
        installs.push_back({version, defaultFolder, false, Cp1252ToUtf8(defaultFolder) + on, shot + "default"});
        if (chosen) installs.push_back({version, *chosen, true, Cp1252ToUtf8(*chosen) + on, shot + "chosen"});
    }
    return installs;
}

// What an earlier install left where this one is checked.
void RemoveEarlierInstall(const WinePrefix& prefix, const ProductManifest& manifest, const std::string& unixFolder) {
    std::error_code ignored;
    for (const FileRow& row : manifest.files) fs::remove(unixFolder + "/" + Cp1252ToUtf8(row.name), ignored);
    for (const std::string& link : LinkPaths(manifest, prefix.Profile())) fs::remove(link, ignored);
}

Differences VerifyInstall(WinePrefix& prefix, const std::string& display, const WineLoader& loader,
                          const ProductManifest& manifest, const Install& install, const std::string& shotsFolder) {
    prefix.AddDrive(install.folder[0]);
    const std::string unixFolder = prefix.UnixPath(install.folder);
    RemoveEarlierInstall(prefix, manifest, unixFolder);
    std::error_code ignored;
    if (install.chosen) fs::create_directories(unixFolder, ignored);  // the browser selects existing folders
    if (!install.version.empty()) prefix.SetWindowsVersion(install.version);

    std::vector<std::string> names;
    for (const FileRow& row : manifest.files) names.push_back(row.name);
    const DriverRun run{SetupPath,
                        DriverPath,
                        loader,
                        InstallSteps(install.folder, install.chosen, names),
                        display,
                        shotsFolder,
                        install.shotPrefix,
                        {},
                        false};
    const DriverReport report = RunDriver(prefix, run);

    Differences differences;
    if (StopSignal() != 0) return differences;  // the run was cut short, not wrong
    for (const std::string& failure : report.failures) differences.push_back("through the window: " + failure);
    CheckFiles(manifest, prefix.UnixPath(install.folder), report.times, differences);
    CheckLinks(manifest, install.folder, prefix.Profile(), differences);
    return differences;
}

// Runs every install in one fresh prefix; returns the number of differences,
// or -1 when the check itself could not be made.
int VerifyInPrefix(const VerifyOptions& options, const Launch& launch, const ProductManifest& manifest,
                   const std::vector<Install>& installs) {
    TempFolder work("mkinstaller");
    std::error_code error;
    if (!work.Ok() || !fs::create_directory(work.File("home"), error)) {
        Fail("cannot make a temporary folder");
        return -1;
    }
    std::optional<ChildSandbox> sandbox;
    if (!options.noSandbox) sandbox.emplace(work.Path());
    PrivateDisplay display;
    std::string problem;
    const std::string authority = work.File("Xauthority");
    if (!display.Start(authority, problem)) {
        Fail(problem);
        return -1;
    }
    UseIsolatedWineEnvironment(work.File("home"), work.File("prefix"), display.Name(), authority);
    WinePrefix prefix(work.File("prefix"), launch.boot);
    std::fprintf(stderr, "mkinstaller verify: a fresh Wine prefix in %s on display %s\n", work.Path().c_str(),
                 display.Name().c_str());
    if (!prefix.Create(work.File("wineboot.log"), problem) || !prefix.Stage(options.setup, SetupPath, problem) ||
        !prefix.Stage(launch.driver, DriverPath, problem)) {
        Fail(problem);
        return -1;
    }
    const std::string shots = options.shotsFolder.empty() ? "" : fs::absolute(options.shotsFolder).string();
    int count = 0;
    for (const Install& install : installs) {
        if (StopSignal() != 0) break;
        std::fprintf(stderr, "mkinstaller verify: installing into %s\n", install.label.c_str());
        for (const std::string& difference :
             VerifyInstall(prefix, display.Name(), launch.driverLoader, manifest, install, shots)) {
            std::printf("%s: %s\n", install.label.c_str(), difference.c_str());
            ++count;
        }
        std::fflush(stdout);
    }
    return count;
}

}  // namespace

std::optional<std::string> InstallFolderOption(const std::string& utf8) {
    Cp1252Result folder = Utf8ToCp1252(utf8);
    if (!folder.ok || !NormaliseInstallFolder(folder.text)) return std::nullopt;
    return folder.text;
}

int RunVerify(const VerifyOptions& options) {
    StopOnSignals();
    signal(SIGPIPE, SIG_IGN);  // a driver that ends early is noticed by its exit code
    const auto start = std::chrono::steady_clock::now();
    ProblemList problems;
    std::optional<ProductManifest> manifest =
        ReadManifest({options.manifest, options.sourceDirs, options.allowOutsideInputs}, problems);
    const std::optional<uint64_t> latestTime = ReadSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), problems);
    if (manifest) manifest->latestTime = latestTime;
    PrintProblems(options.manifest, problems);
    if (!problems.Empty() || !manifest) {
        return Fail("the manifest has problems; nothing verified");
    }
    std::string setupProblem;
    const std::optional<Arch> arch = ProgramArch(options.setup, setupProblem);
    if (arch) {
        if (const std::optional<int> refused = RefuseWithout32BitSupport(*arch)) {
            EndByStopSignal();
            return *refused;
        }
    }
    std::vector<std::string> missing;
    if (!setupProblem.empty()) missing.push_back(setupProblem);
    const std::optional<Launch> launch = arch ? std::optional<Launch>(LaunchFor(*arch, options)) : std::nullopt;
    if (!CheckPrerequisites(options, launch, missing)) {
        for (const std::string& problem : missing) Fail(problem);
        return 1;
    }
    const std::vector<Install> installs = PlanInstalls(options, *manifest);
    const int differences = VerifyInPrefix(options, *launch, *manifest, installs);
    EndByStopSignal();
    if (differences < 0) return 1;
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    if (differences > 0) {
        std::printf("mkinstaller verify: %d difference%s; %s does not install as packed\n", differences,
                    differences == 1 ? "" : "s", options.setup.c_str());
        return 1;
    }
    std::printf("mkinstaller verify: %s installs every file, time and link as packed (%zu install%s, %.0f s)\n",
                options.setup.c_str(), installs.size(), installs.size() == 1 ? "" : "s", seconds);
    return 0;
}
