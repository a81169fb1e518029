// The Wine scenarios' command over the layer of `mkinstaller verify`
// (tools/verify), in the prefix $WINEPREFIX that the scenario prepared:
//   scenario drive NAME SETUP|- [--no-userprofile] -- STEP...
//     runs the GUI driver ($WINE_DRIVER) with SETUP staged into C:\Downloads
//     ("-": the steps start the program), on a display of its own, or on
//     $DISPLAY with WINE_HARNESS_USE_DISPLAY=1; its lines go to standard
//     output, its screenshots to $WINE_HARNESS_BUILD/screenshots/NAME-SHOT.png.
//     Exit code 1 when a step failed. SCENARIO_WINE_MEMORY_KB caps the address
//     space of Wine and what it starts (not of this command, which a
//     sanitizer's shadow memory would not fit).
//   scenario check MANIFEST WINDOWS_FOLDER [--source-dir DIR | --row NAME |
//                  --links WINDOWS_FOLDER | --profile UNIX_PROFILE]...
//     compares what an install left with its manifest by verify's checks,
//     with the times Windows reports, taken before anything reads the files;
//     one line per difference, exit code 1 when there is any. --row checks
//     only the rows named; --links the profile's two links.
// Exit code 2: bad arguments, manifest or environment.
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <memory>
#include <set>

#include "common/cp1252.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/mkinstaller/verify_checks.h"
#include "tools/verify/driver_session.h"
#include "tools/verify/private_display.h"
#include "tools/verify/temp_folder.h"
#include "tools/verify/wine_prefix.h"

namespace fs = std::filesystem;

namespace {

std::string Environment(const char* name) {
    const char* value = std::getenv(name);
    return value != nullptr ? value : "";
}

int Refuse(const std::string& why) {
    std::fprintf(stderr, "scenario: %s\n", why.c_str());
    return 2;
}

// The driver's run in the prefix, SETUP ("" for none) and the driver staged.
bool Prepare(const WinePrefix& prefix, const std::string& setup, DriverRun& run, std::string& error) {
    run.loader = Environment("WINE_HARNESS_ARCH") == "x64" ? Wine64Loader() : InstalledWine();
    run.driver = "C:\\harness\\driver.exe";
    if (!prefix.Stage(Environment("WINE_DRIVER"), run.driver, error)) return false;
    if (setup.empty()) return true;
    run.setup = "C:\\Downloads\\" + fs::path(setup).filename().string();
    return prefix.Stage(setup, run.setup, error);
}

int Drive(int argc, char** argv) {
    if (argc < 4) return Refuse("drive NAME SETUP|- [--no-userprofile] -- STEP...");
    const WinePrefix prefix(Environment("WINEPREFIX"), InstalledWine());
    DriverRun run;
    std::string error;
    if (!Prepare(prefix, std::strcmp(argv[3], "-") == 0 ? "" : argv[3], run, error)) return Refuse(error);
    int i = 4;
    for (; i < argc && std::strcmp(argv[i], "--") != 0; ++i) run.options.push_back(argv[i]);
    run.steps.assign(argv + std::min(i + 1, argc), argv + argc);
    run.shotsFolder = Environment("WINE_HARNESS_BUILD") + "/screenshots";
    run.shotPrefix = argv[2];
    run.echo = true;
    fs::create_directories(run.shotsFolder);

    const TempFolder authority("scenario-display");
    const std::string cap = Environment("SCENARIO_WINE_MEMORY_KB"), capped = authority.File("capped-wine");
    if (!cap.empty()) {
        std::ofstream(capped) << "#!/bin/sh\nulimit -v " << cap << "\nexec '" << run.loader.program << "' \"$@\"\n";
        fs::permissions(capped, fs::perms::owner_all);
        run.loader.program = capped;
    }
    PrivateDisplay display;
    if (Environment("WINE_HARNESS_USE_DISPLAY") != "1") {
        if (!authority.Ok() || !display.Start(authority.File("xauthority"), error)) return Refuse(error);
        setenv("DISPLAY", display.Name().c_str(), 1);
        setenv("XAUTHORITY", authority.File("xauthority").c_str(), 1);
    }
    run.display = Environment("DISPLAY");
    std::printf("scenario %s: %s on display %s\n", argv[2], argv[3], run.display.c_str());
    const DriverReport report = RunDriver(prefix, run);
    for (const std::string& failure : report.failures) std::printf("driver: %s\n", failure.c_str());
    std::printf("scenario %s: %s\n", argv[2], report.passed ? "passed" : "failed");
    return report.passed ? 0 : 1;
}

// The times Windows reports for everything in FOLDER (a Windows path).
bool ReadTimes(const WinePrefix& prefix, const std::string& folder, std::map<std::string, ReportedTimes>& times,
               std::string& error) {
    DriverRun run;
    if (!Prepare(prefix, "", run, error)) return false;
    std::error_code ignored;
    for (const fs::directory_entry& entry : fs::directory_iterator(prefix.UnixPath(folder), ignored)) {
        run.steps.insert(run.steps.end(), {"file-times", folder, Utf8ToCp1252(entry.path().filename().string()).text});
    }
    if (!run.steps.empty()) times = RunDriver(prefix, run).times;
    return true;
}

struct CheckOptions {
    ManifestLocation manifest;
    std::set<std::string> rows;
    std::string linksFolder, profile;
};

bool ReadCheckOptions(int argc, char** argv, CheckOptions& options) {
    if (argc < 4 || argc % 2 != 0) return false;
    options.manifest.path = argv[2];
    for (int i = 4; i + 1 < argc; i += 2) {
        const std::string option = argv[i], value = argv[i + 1];
        if (option == "--source-dir") options.manifest.sourceDirs.push_back(value);
        else if (option == "--row") options.rows.insert(value);
        else if (option == "--links") options.linksFolder = Utf8ToCp1252(value).text;
        else if (option == "--profile") options.profile = value;
        else return false;
    }
    return true;
}

// Only the rows named, when any are; false when a name is no row.
bool KeepRows(std::vector<FileRow>& files, const std::set<std::string>& names) {
    if (names.empty()) return true;
    files.erase(std::remove_if(files.begin(), files.end(),
                               [&](const FileRow& row) { return names.count(Cp1252ToUtf8(row.name)) == 0; }),
                files.end());
    return files.size() == names.size();
}

int Check(int argc, char** argv) {
    CheckOptions options;
    ProblemList problems;
    std::optional<ProductManifest> manifest;
    if (ReadCheckOptions(argc, argv, options)) manifest = ReadManifest(options.manifest, problems);
    PrintProblems(options.manifest.path, problems);
    if (!manifest || !problems.Empty() || !KeepRows(manifest->files, options.rows)) {
        return Refuse("bad arguments, manifest or --row");
    }
    const WinePrefix prefix(Environment("WINEPREFIX"), InstalledWine());
    const std::string folder = Utf8ToCp1252(argv[3]).text;
    std::map<std::string, ReportedTimes> times;
    std::string error;
    if (!ReadTimes(prefix, folder, times, error)) return Refuse(error);
    Differences differences;
    for (const FileRow& row : manifest->files) {
        if (times.count(row.name) == 0) differences.push_back(Cp1252ToUtf8(row.name) + ": no times reported");
    }
    CheckFiles(*manifest, prefix.UnixPath(folder), times, differences);
    if (!options.linksFolder.empty()) CheckLinks(*manifest, options.linksFolder, options.profile, differences);
    for (const std::string& difference : differences) std::printf("%s\n", difference.c_str());
    return differences.empty() ? 0 : 1;
}

}  // namespace

int main(int argc, char** argv) {
    if (Environment("WINEPREFIX").empty() || Environment("WINE_DRIVER").empty()) {
        return Refuse("set WINEPREFIX and WINE_DRIVER");
    }
    if (argc > 1 && std::strcmp(argv[1], "drive") == 0) return Drive(argc, argv);
    if (argc > 1 && std::strcmp(argv[1], "check") == 0) return Check(argc, argv);
    return Refuse("usage: scenario drive|check ...");
}
