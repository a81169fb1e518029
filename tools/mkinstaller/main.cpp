// mkinstaller: packs a product described by a TOML manifest into its own
// setup.exe. Exit codes: 0 done, 1 refused or failed (nothing written),
// 2 bad command line. `mkinstaller verify` proves that a setup.exe installs
// (verify_command.h).
#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <thread>

#include <CLI/CLI.hpp>

#include "codegen.h"
#include "command_check.h"
#include "manifest_check.h"
#include "manifest_reader.h"
#include "packer.h"
#include "signal_cleanup.h"
#include "toolchain.h"
#include "verify_cli.h"
#include "work_dir.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string manifest;
    std::string output = "setup.exe";
    std::vector<std::string> sourceDirs;
    unsigned jobs = 0;
    std::string keepSources;
    std::string depfile;
    bool checkOnly = false;
    bool progress = false;
    Toolchain toolchain{"i686-w64-mingw32-g++-posix", "i686-w64-mingw32-windres", MKINSTALLER_INCLUDE_DIR,
                        MKINSTALLER_DEFAULT_RUNTIME};
};

// What the build folder holds besides the containers; --keep-sources copies all of it.
const char* const GeneratedFiles[] = {"logo.bmp", "icon.ico", "manifest.cpp", "setup.rc", "setup.manifest"};

int Fail(const std::string& message) {
    std::fprintf(stderr, "mkinstaller: %s\n", message.c_str());
    return 1;
}

void PrintProblems(const std::string& manifest, const ProblemList& problems) {
    for (const Problem& problem : problems.Items()) {
        // Command-line options are not the manifest's.
        std::string where = problem.field.rfind('-', 0) == 0 ? "mkinstaller" : manifest;
        if (problem.line > 0) where += ":" + std::to_string(problem.line);
        if (problem.column > 0) where += ":" + std::to_string(problem.column);
        if (!problem.field.empty()) where += ": " + problem.field;
        std::fprintf(stderr, "%s: %s\n", where.c_str(), problem.message.c_str());
    }
    std::fprintf(stderr, "mkinstaller: %zu problem%s found; nothing written\n", problems.Items().size(),
                 problems.Items().size() == 1 ? "" : "s");
}

double Percent(uint64_t part, uint64_t whole) { return whole == 0 ? 100.0 : 100.0 * part / whole; }

void PrintRowProgress(const ProductManifest& manifest, size_t row, const PackedFile& file) {
    std::fprintf(stderr, "  %-24s %10llu -> %10zu bytes  %5.1f%%\n", manifest.files[row].name.c_str(),
                 static_cast<unsigned long long>(file.inputSize), file.container.size(),
                 Percent(file.container.size(), file.inputSize));
}

void PrintSummary(const PackResult& packed, double seconds, unsigned jobs, const std::string& output) {
    uint64_t in = 0, out = 0;
    for (const PackedFile& file : packed.files) {
        in += file.inputSize;
        out += file.container.size();
    }
    std::fprintf(stderr, "mkinstaller: %zu files, %llu -> %llu bytes (%.1f%%), packed in %.2f s on %u thread%s; wrote %s\n",
                 packed.files.size(), static_cast<unsigned long long>(in), static_cast<unsigned long long>(out),
                 Percent(out, in), seconds, jobs, jobs == 1 ? "" : "s", output.c_str());
}

std::string DepfilePath(const std::string& path) {
    std::string escaped;
    for (const char c : path) {
        if (c == ' ' || c == '#' || c == '\\') escaped += '\\';
        if (c == '$') escaped += '$';
        escaped += c;
    }
    return escaped;
}

std::string DepfileText(const Options& options, const ProductManifest& manifest) {
    std::string text = DepfilePath(options.output) + ":";
    auto add = [&text](const std::string& path) { text += " \\\n  " + DepfilePath(fs::absolute(path).string()); };
    add(options.manifest);
    add(manifest.logoPath);
    add(manifest.iconPath);
    for (const FileRow& row : manifest.files) add(row.sourcePath);
    add(options.toolchain.runtime);
    return text + "\n";
}

bool WriteBuildInputs(const WorkDir& work, const ProductManifest& manifest, const PackResult& packed) {
    for (size_t row = 0; row < packed.files.size(); ++row) {
        const std::vector<uint8_t>& container = packed.files[row].container;
        if (!WriteFile(work.File(PayloadFileName(row)), container.data(), container.size())) return false;
    }
    return CopyFile(manifest.logoPath, work.File(GeneratedFiles[0])) &&
           CopyFile(manifest.iconPath, work.File(GeneratedFiles[1])) &&
           WriteFile(work.File(GeneratedFiles[2]), GeneratedManifestSource(manifest)) &&
           WriteFile(work.File(GeneratedFiles[3]), ResourceScript(ResourceTemplate, manifest)) &&
           WriteFile(work.File(GeneratedFiles[4]), ExecutionManifest(manifest.requireAdministrator));
}

bool KeepSources(const WorkDir& work, const std::string& folder) {
    std::error_code error;
    fs::create_directories(folder, error);
    for (const fs::directory_entry& entry : fs::directory_iterator(work.Path(), error)) {
        if (entry.path().extension() == ".o" || entry.path().extension() == ".exe") continue;
        fs::copy_file(entry.path(), fs::path(folder) / entry.path().filename(), fs::copy_options::overwrite_existing,
                      error);
        if (error) return false;
    }
    return !error;
}

int Build(const Options& options, const ProductManifest& manifest) {
    WorkDir work;
    if (!work.Ok()) return Fail("cannot create a temporary folder");

    const unsigned jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    const auto start = std::chrono::steady_clock::now();
    PackProgress progress;
    if (options.progress) progress = [&](size_t row, const PackedFile& file) { PrintRowProgress(manifest, row, file); };
    const PackResult packed = PackFiles(manifest.files, jobs, progress);
    if (!packed.ok) return Fail(packed.error);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    if (!WriteBuildInputs(work, manifest, packed)) return Fail("cannot write to the temporary folder " + work.Path());
    std::string error;
    if (!BuildSetupExe(options.toolchain, work.Path(), error)) return Fail(error + "; nothing written");
    // Both outputs are written in full before either replaces its target.
    StagedFile setup, depfile;
    if (!setup.StageCopy(work.File("setup.exe"), options.output, 0777, error) ||
        (!options.depfile.empty() && !depfile.StageText(DepfileText(options, manifest), options.depfile, 0666, error))) {
        return Fail(error + "; nothing written");
    }
    if (!options.keepSources.empty() && !KeepSources(work, options.keepSources)) {
        return Fail("cannot copy the generated sources to " + options.keepSources);
    }
    if (!setup.Commit(error) || (!options.depfile.empty() && !depfile.Commit(error))) return Fail(error);
    if (options.progress) PrintSummary(packed, seconds, std::min<size_t>(jobs, manifest.files.size()), options.output);
    return 0;
}

Command CommandOf(const Options& options, const std::optional<ProductManifest>& manifest) {
    Command command{{options.manifest, options.toolchain.runtime}, {{"-o", options.output}}, options.keepSources, {},
                    options.sourceDirs, options.toolchain};
    if (!options.depfile.empty()) command.outputs.push_back({"--depfile", options.depfile});
    if (!manifest) return command;
    command.inputs.push_back(manifest->logoPath);
    command.inputs.push_back(manifest->iconPath);
    for (const FileRow& row : manifest->files) command.inputs.push_back(row.sourcePath);
    if (options.keepSources.empty()) return command;
    const fs::path kept(options.keepSources);
    for (const char* name : GeneratedFiles) command.keptFiles.push_back({"--keep-sources", kept / name});
    for (size_t row = 0; row < manifest->files.size(); ++row) {
        command.keptFiles.push_back({"--keep-sources", kept / PayloadFileName(row)});
    }
    return command;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    options.progress = isatty(STDERR_FILENO) != 0;
    CLI::App app{"Packs a product described by a TOML manifest into its setup.exe."};
    app.set_version_flag("--version", "mkinstaller " MKINSTALLER_VERSION);
    // Required unless the verify command is given.
    app.add_option("manifest", options.manifest, "the product's manifest (TOML)");
    app.add_option("-o,--output", options.output, "the setup program to write")->capture_default_str();
    app.add_option("--runtime", options.toolchain.runtime, "the installer runtime library (libinstaller_runtime.a)")
        ->capture_default_str();
    // One folder per --source-dir, so that the manifest may follow it.
    app.add_option("--source-dir", options.sourceDirs, "a folder to look for inputs in, before the manifest's own")
        ->allow_extra_args(false);
    app.add_option("-j,--jobs", options.jobs, "threads that compress (default: all cores)");
    app.add_option("--keep-sources", options.keepSources, "keep the generated sources and containers in this folder");
    app.add_option("--depfile", options.depfile, "write the inputs as a Makefile dependency file");
    app.add_option("--include-dir", options.toolchain.includeDir, "the folder holding app/manifest.h")
        ->capture_default_str();
    app.add_option("--cxx", options.toolchain.compiler, "the i686 MinGW C++ compiler")->capture_default_str();
    app.add_option("--windres", options.toolchain.windres, "the i686 MinGW resource compiler")->capture_default_str();
    app.add_flag("--check", options.checkOnly, "check the manifest and its inputs, build nothing");
    app.add_flag("--progress,!--no-progress", options.progress, "a line per packed file (default: on a terminal)");
    VerifyOptions verifyOptions;
    const CLI::App* verify = AddVerifyCommand(app, verifyOptions);
    try {
        app.parse(argc, argv);
        if (!*verify && options.manifest.empty()) throw CLI::RequiredError("manifest");
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    if (*verify) return RunVerify(verifyOptions);

    CleanUpOnSignals();
    ProblemList problems;
    const std::optional<ProductManifest> manifest = ReadManifest({options.manifest, options.sourceDirs}, problems);
    if (manifest) CheckManifest(*manifest, problems);
    CheckCommand(CommandOf(options, manifest), problems);
    if (!problems.Empty()) {
        PrintProblems(options.manifest, problems);
        return 1;
    }
    return options.checkOnly ? 0 : Build(options, *manifest);
}
