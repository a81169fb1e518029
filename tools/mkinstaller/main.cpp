// mkinstaller: packs a product described by a TOML manifest into its own
// setup.exe. Exit codes: 0 done, 1 refused or failed (nothing written),
// 2 bad command line. `mkinstaller verify` proves that a setup.exe installs
// (verify_command.h).
#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <optional>
#include <thread>

#include <CLI/CLI.hpp>

#include "common/cp1252.h"
#include "release.h"

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"
#include "tools/common/staged_file.h"
#include "tools/mkinstaller/command_check.h"
#include "tools/mkinstaller/image_check.h"
#include "tools/mkinstaller/logo_image.h"
#include "tools/mkinstaller/manifest_check.h"
#include "tools/mkinstaller/manifest_reader.h"
#include "tools/mkinstaller/packer.h"
#include "tools/mkinstaller/setup_resources.h"
#include "tools/mkinstaller/signing.h"
#include "tools/mkinstaller/stub_file.h"
#include "tools/mkinstaller/stub_image.h"
#include "tools/mkinstaller/verify_cli.h"

namespace fs = std::filesystem;

namespace {

struct Options {
    std::string manifest;
    std::string output = "setup.exe";
    std::vector<std::string> sourceDirs;
    unsigned jobs = 0;
    std::string depfile;
    bool checkOnly = false;
    bool allowOutsideInputs = false;
    bool progress = false;
    std::string stub;
};

int Fail(const std::string& message) {
    std::fprintf(stderr, "mkinstaller: %s\n", message.c_str());
    return 1;
}

double Percent(uint64_t part, uint64_t whole) {
    return whole == 0 ? 100.0 : 100.0 * part / whole;
}

void PrintRowProgress(const ProductManifest& manifest, size_t row, const PackedFile& file) {
    // Names are held in Windows-1252; the terminal reads UTF-8.
    std::fprintf(stderr, "  %-24s %10llu -> %10zu bytes  %5.1f%%\n", Cp1252ToUtf8(manifest.files[row].name).c_str(),
                 static_cast<unsigned long long>(file.inputSize), file.container.size(),
                 Percent(file.container.size(), file.inputSize));
}

void PrintSummary(const PackResult& packed, double seconds, unsigned jobs, const std::string& output) {
    uint64_t in = 0, out = 0;
    for (const PackedFile& file : packed.files) {
        in += file.inputSize;
        out += file.container.size();
    }
    std::fprintf(stderr,
                 "mkinstaller: %zu files, %llu -> %llu bytes (%.1f%%), packed in %.2f s on %u thread%s; wrote %s\n",
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
    for (const std::string& path : InputPaths(manifest)) add(path);
    add(options.stub);
    return text + "\n";
}

// Writes `bytes` in full under a temporary name beside `target`, with the
// mode a new file gets, for Commit to rename.
bool Stage(platform::StagedFile& file, const std::string& target, const std::string& bytes, uint32_t mode,
           std::string& error) {
    if (!file.Open(target)) {
        const fs::path folder = fs::u8path(target).parent_path();
        error = "cannot create a file in '" + (folder.empty() ? "." : folder.u8string()) + "': " + std::strerror(errno);
        return false;
    }
    if (file.Write(bytes.data(), bytes.size()) && file.SetMode(platform::ModeOfNewFile(mode)) && file.Sync())
        return true;
    error = "cannot write '" + target + "': " + std::strerror(errno);
    return false;
}

bool Commit(platform::StagedFile& file, std::string& error) {
    if (file.Commit(true)) return true;
    error = "cannot write '" + file.target() + "': " + std::strerror(errno);
    return false;
}

std::vector<uint8_t> ReadWhole(const std::string& path) {
    std::vector<uint8_t> bytes;
    return ReadWholeFile(path, bytes).empty() ? bytes : std::vector<uint8_t>();
}

int Build(const Options& options, const ProductManifest& manifest) {
    const unsigned jobs = options.jobs != 0 ? options.jobs : std::max(1u, std::thread::hardware_concurrency());
    const auto start = std::chrono::steady_clock::now();
    PackProgress progress;
    if (options.progress) progress = [&](size_t row, const PackedFile& file) { PrintRowProgress(manifest, row, file); };
    const PackResult packed = PackFiles(manifest.files, manifest.latestTime, jobs, progress);
    if (!packed.ok) return Fail(packed.error);
    const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();

    // The checks before packing read these too; a change since is caught by
    // the stub's own check, and the images are checked again here.
    std::vector<uint8_t> setup = ReadWhole(options.stub);
    const LogoBitmap logo = LogoFromFile(ReadWhole(manifest.logoPath));
    const std::vector<uint8_t> icon = ReadWhole(manifest.iconPath);
    if (!StubProblem(setup).empty() || ImageArch(setup) != manifest.arch || !logo.problem.empty() ||
        !IconProblem(icon).empty()) {
        return Fail("an input changed while packing; nothing written");
    }
    std::string error = AddResourceSection(setup, SetupResources(manifest, packed, logo.dib, icon));
    if (!error.empty()) return Fail(error + "; nothing written");
    if (manifest.signing && !SignImage(*manifest.signing, manifest.name, setup, error)) {
        return Fail(error + "; nothing written");
    }

    // Both outputs are written in full before either replaces its target.
    platform::StagedFile staged, depfile;
    if (!Stage(staged, options.output, {setup.begin(), setup.end()}, 0777, error) ||
        (!options.depfile.empty() && !Stage(depfile, options.depfile, DepfileText(options, manifest), 0666, error))) {
        return Fail(error + "; nothing written");
    }
    if (!Commit(staged, error) || (!options.depfile.empty() && !Commit(depfile, error))) return Fail(error);
    if (options.progress) PrintSummary(packed, seconds, std::min<size_t>(jobs, manifest.files.size()), options.output);
    return 0;
}

// Signs a copy of the stub, so that what osslsigncode cannot sign with is
// reported before the packing, not after it.
void CheckSigning(const Options& options, const ProductManifest& manifest, ProblemList& problems) {
    if (!manifest.signing) return;
    const std::string problem = SigningProblem(*manifest.signing, manifest.name, ReadWhole(options.stub));
    if (!problem.empty()) problems.Add("sign", problem, LineOf(manifest, "sign"));
}

Command CommandOf(const Options& options, const std::optional<ProductManifest>& manifest) {
    Command command{
        {options.manifest, options.stub}, {{"-o", options.output}}, options.sourceDirs, options.stub, {}, {}};
    if (!options.depfile.empty()) command.outputs.push_back({"--depfile", options.depfile});
    if (!manifest) return command;
    command.arch = manifest->arch;
    if (const int line = LineOf(*manifest, "product.arch"))
        command.archOrigin = options.manifest + ":" + std::to_string(line);
    for (std::string& path : InputPaths(*manifest)) command.inputs.push_back(std::move(path));
    return command;
}

}  // namespace

int main(int argc, char** argv) {
    Options options;
    options.progress = platform::IsTerminal(platform::StandardError);
    CLI::App app{"Packs a product described by a TOML manifest into its setup.exe.", "mkinstaller"};
    app.set_version_flag("--version", "mkinstaller " INSTALLER_RELEASE);
    // Required unless the verify command is given.
    app.add_option("manifest", options.manifest, "the product's manifest (TOML)");
    app.add_option("-o,--output", options.output, "the setup program to write")->capture_default_str();
    app.add_option("--stub", options.stub,
                   "the installer stub (default: " + DefaultStubPlace(Arch::X86) + ", or " +
                       DefaultStubPlace(Arch::X64) + " for arch = \"x64\", beside mkinstaller)");
    // One folder per --source-dir, so that the manifest may follow it.
    app.add_option("--source-dir", options.sourceDirs, "a folder to look for inputs in, before the manifest's own")
        ->allow_extra_args(false);
    app.add_option("-j,--jobs", options.jobs, "threads that compress (default: all cores)");
    app.add_option("--depfile", options.depfile, "write the inputs as a Makefile dependency file");
    app.add_flag("--check", options.checkOnly, "check the manifest and its inputs, build nothing");
    app.add_flag("--allow-outside-inputs", options.allowOutsideInputs,
                 "pack sources, logo and icon from outside the manifest's folder and the --source-dir folders");
    app.add_flag("--progress,!--no-progress", options.progress, "a line per packed file (default: on a terminal)");
    VerifyOptions verifyOptions;
    const CLI::App* verify = AddVerifyCommand(app, verifyOptions);
    try {
        // Messages end lines as on Linux, so that scripts read the same text.
        platform::CarryBytes(platform::StandardError);
        std::vector<std::string> arguments = platform::CommandLine(argc, argv);
        arguments.erase(arguments.begin());
        std::reverse(arguments.begin(), arguments.end());  // as CLI11 takes them
        app.parse(arguments);
        if (!*verify && options.manifest.empty()) throw CLI::RequiredError("manifest");
    } catch (const CLI::ParseError& error) {
        const int code = app.exit(error);
        return code == 0 ? 0 : 2;
    }
    if (*verify) return RunVerify(verifyOptions);

    platform::InstallInterruptCleanup(platform::BrokenPipe::Default);
    ProblemList problems;
    std::optional<ProductManifest> manifest =
        ReadManifest({options.manifest, options.sourceDirs, options.allowOutsideInputs}, problems);
    if (manifest) CheckManifest(*manifest, problems);
    if (options.stub.empty() && manifest && manifest->arch) options.stub = FindStub(*manifest->arch);
    CheckCommand(CommandOf(options, manifest), problems);
    const std::optional<uint64_t> latestTime = ReadSourceDateEpoch(std::getenv("SOURCE_DATE_EPOCH"), problems);
    if (manifest) manifest->latestTime = latestTime;
    // Last, as it needs a sound stub and certificate paths.
    if (problems.Empty() && manifest) CheckSigning(options, *manifest, problems);
    PrintProblems(options.manifest, problems);
    if (!problems.Empty()) {
        const size_t count = problems.ErrorCount();
        std::fprintf(stderr, "mkinstaller: %zu problem%s found; nothing written\n", count, count == 1 ? "" : "s");
        return 1;
    }
    return options.checkOnly ? 0 : Build(options, *manifest);
}
