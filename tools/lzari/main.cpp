// lzari: packs files into LZARI payload containers and back, in the manner
// of gzip: FILE becomes FILE.lzr, -d undoes it, -l lists, -t tests.
#include <stdio.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cctype>
#include <new>

#include "release.h"

#include "tools/common/interrupt_cleanup.h"
#include "tools/common/platform.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/options.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;
constexpr const char* Version = "lzari " INSTALLER_RELEASE " (payload containers, versions 0 and 1)";

constexpr const char* HelpFooter = R"(With no FILE, or FILE "-", standard input goes to standard output.
The levels -1 to -9 of gzip and xz are taken and change nothing: the
format has one level.

Exit status: 0 all done, 1 a file failed (the others are still done),
2 bad usage.

Examples:
  lzari notes.txt               notes.txt -> notes.txt.lzr (time kept)
  lzari -d notes.txt            notes.txt.lzr -> notes.txt
  lzari -l *.lzr                list sizes, ratios and times
  lzari -t *.lzr                check that every container decodes
  tar c dir | lzari > dir.tar.lzr && lzari -dc dir.tar.lzr | tar x
)";

struct UsageError {
    std::string message;
};

struct ModeFlags {
    bool decompress = false, list = false, test = false;
};

void DefineOptions(CLI::App& app, Options& options, ModeFlags& mode) {
    app.set_help_flag("-h,--help", "Show this help and exit");
    app.set_version_flag("-V,--version", Version, "Show the version and exit");
    app.footer(HelpFooter);
    // "/name" is a file, as on every system, never an option.
    app.allow_windows_style_options(false);
    auto* decompressFlag = app.add_flag("-d,--decompress", mode.decompress, "Decompress FILE.lzr to FILE");
    auto* listFlag = app.add_flag("-l,--list", mode.list, "List the sizes and times of containers that decode");
    auto* testFlag = app.add_flag("-t,--test", mode.test, "Test that the containers decode");
    decompressFlag->excludes(listFlag)->excludes(testFlag);
    listFlag->excludes(testFlag);
    app.add_flag("-c,--stdout", options.toStandardOutput, "Write to standard output, keep the input");
    app.add_flag("-k,--keep", options.keepInput, "Keep the input file");
    app.add_flag("-f,--force", options.force, "Overwrite outputs, take links, use a terminal");
    app.add_flag("--legacy", options.legacy, "Write the older container without a timestamp");
    app.add_option("-o,--output", options.outputName, "Output file name (one input only; - for standard output)");
    app.add_option("-S,--suffix", options.suffix, "Suffix of container files (default .lzr)");
    app.add_flag("-v,--verbose", options.verbose, "Report each file");
    app.add_flag("-q,--quiet", options.quiet, "No progress line and no reports, errors only");
    app.add_option("files", options.files, "Files to process");
}

Mode ModeOf(const ModeFlags& mode) {
    if (mode.decompress) return Mode::Decompress;
    if (mode.list) return Mode::List;
    if (mode.test) return Mode::Test;
    return Mode::Compress;
}

void CheckCombination(Options& options) {
    if (options.files.empty()) options.files.push_back(StandardStream);
    if (options.quiet) options.verbose = false;
    if (options.outputName == StandardStream) {
        options.outputName.clear();
        options.toStandardOutput = true;
    }
    if (options.suffix.empty() || options.suffix.find('/') != std::string::npos)
        throw UsageError{"-S needs a suffix without '/'"};
    const bool writes = options.mode == Mode::Compress || options.mode == Mode::Decompress;
    if (!options.outputName.empty() && !writes) throw UsageError{"-o is for compressing and decompressing"};
    if (!options.outputName.empty() && options.toStandardOutput) throw UsageError{"-o and -c exclude each other"};
    if (!options.outputName.empty() && options.files.size() > 1) throw UsageError{"-o takes a single input file"};
    if (options.legacy && options.mode != Mode::Compress) throw UsageError{"--legacy is for compressing"};
}

void ProcessFile(const Options& options, const std::string& path) {
    switch (options.mode) {
        case Mode::Compress:
            CompressFile(options, path);
            break;
        case Mode::Decompress:
            DecompressFile(options, path);
            break;
        case Mode::List:
            ListFile(options, path);
            break;
        case Mode::Test:
            TestFile(options, path);
            break;
    }
}

// Returns false after reporting the failure; the caller goes on with the next file.
bool ProcessReporting(const Options& options, const std::string& path) {
    try {
        ProcessFile(options, path);
        return true;
    } catch (const FileError& error) {
        fflush(stdout);
        fprintf(stderr, "lzari: %s: %s\n", error.path().c_str(), error.what());
    } catch (const std::bad_alloc&) {
        fflush(stdout);
        fprintf(stderr, "lzari: %s: out of memory\n", path.c_str());
    }
    return false;
}

// As gzip: compressed data is neither written to nor read from a terminal
// unless forced.
const char* TerminalRefusal(const Options& options) {
    if (options.force) return nullptr;
    const bool fromStandardInput =
        std::find(options.files.begin(), options.files.end(), StandardStream) != options.files.end();
    if (options.mode == Mode::Compress) {
        const bool toStandardOutput =
            std::any_of(options.files.begin(), options.files.end(),
                        [&](const std::string& path) { return WritesToStandardOutput(options, path); });
        if (toStandardOutput && platform::IsTerminal(platform::StandardOutput))
            return "compressed data not written to a terminal";
    } else if (fromStandardInput && platform::IsTerminal(platform::StandardInput)) {
        return "compressed data not read from a terminal";
    }
    return nullptr;
}

int Run(const Options& options) {
    if (const char* refusal = TerminalRefusal(options)) {
        fprintf(stderr, "lzari: %s; use -f to force\n", refusal);
        return ExitError;
    }
    platform::InstallInterruptCleanup(platform::BrokenPipe::CleanedUp);
    if (options.mode == Mode::List) PrintListHeading();
    bool allSucceeded = true;
    for (const std::string& path : options.files) allSucceeded = ProcessReporting(options, path) && allSucceeded;
    return allSucceeded ? ExitOk : ExitError;
}

// Takes out the levels -1 to -9, which gzip and xz users type; any other
// "-<digit>" before "--" is an unknown option, not a file.
void TakeLevelOptions(std::vector<std::string>& arguments) {
    std::vector<std::string> kept;
    bool optionsEnded = false;
    for (std::string& argument : arguments) {
        optionsEnded = optionsEnded || argument == "--";
        const bool number = !optionsEnded && argument.size() >= 2 && argument[0] == '-' &&
                            std::isdigit(static_cast<unsigned char>(argument[1]));
        if (number && (argument.size() != 2 || argument[1] == '0')) throw UsageError{argument + ": unknown option"};
        if (!number) kept.push_back(std::move(argument));
    }
    arguments = std::move(kept);
}

int ReportUsage(const std::string& message) {
    fprintf(stderr, "lzari: %s\nTry 'lzari -h' for help.\n", message.c_str());
    return ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Compress or decompress files in LZARI payload containers.", "lzari");
    Options options;
    ModeFlags mode;
    DefineOptions(app, options, mode);
    try {
        // Standard streams carry bytes, not text.
        for (int stream : {platform::StandardInput, platform::StandardOutput, platform::StandardError})
            platform::CarryBytes(stream);
        // CLI11 takes the arguments after the program's name, last first.
        std::vector<std::string> arguments = platform::CommandLine(argc, argv);
        arguments.erase(arguments.begin());
        TakeLevelOptions(arguments);
        std::reverse(arguments.begin(), arguments.end());
        app.parse(arguments);
    } catch (const CLI::CallForHelp&) {
        printf("%s", app.help().c_str());
        return ExitOk;
    } catch (const CLI::CallForVersion&) {
        printf("%s\n", Version);
        return ExitOk;
    } catch (const CLI::ParseError& error) {
        return ReportUsage(error.what());
    } catch (const UsageError& error) {
        return ReportUsage(error.message);
    }
    options.mode = ModeOf(mode);
    try {
        CheckCombination(options);
    } catch (const UsageError& error) {
        return ReportUsage(error.message);
    }
    return Run(options);
}
