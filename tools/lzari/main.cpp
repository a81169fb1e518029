// lzari: packs files into LZARI payload containers and back, in the manner
// of gzip: FILE becomes FILE.lzr, -d undoes it, -l lists, -t tests.
#include <stdio.h>
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <new>

#include "tools/lzari/file_error.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/options.h"

namespace {

constexpr int ExitOk = 0;
constexpr int ExitError = 1;
constexpr int ExitUsage = 2;

struct UsageError {
    std::string message;
};

void DefineOptions(CLI::App& app, Options& options, bool& decompress, bool& list, bool& test) {
    app.set_help_flag("-h,--help", "Show this help and exit");
    auto* decompressFlag = app.add_flag("-d,--decompress", decompress, "Decompress FILE.lzr to FILE");
    auto* listFlag = app.add_flag("-l,--list", list, "List the containers' sizes and timestamps");
    auto* testFlag = app.add_flag("-t,--test", test, "Test that the containers decode");
    decompressFlag->excludes(listFlag)->excludes(testFlag);
    listFlag->excludes(testFlag);
    app.add_flag("-c,--stdout", options.toStandardOutput, "Write to standard output, keep the input");
    app.add_flag("-k,--keep", options.keepInput, "Keep the input file");
    app.add_flag("-f,--force", options.force, "Overwrite existing output files");
    app.add_flag("--legacy", options.legacy, "Write the older container without a timestamp");
    app.add_option("-o,--output", options.outputName, "Output file name (one input only)");
    app.add_flag("-v,--verbose", options.verbose, "Report each file");
    app.add_option("files", options.files, "Files to process");
}

Mode ModeOf(bool decompress, bool list, bool test) {
    if (decompress) return Mode::Decompress;
    if (list) return Mode::List;
    if (test) return Mode::Test;
    return Mode::Compress;
}

void CheckCombination(const Options& options) {
    if (options.files.empty()) throw UsageError{"no input files"};
    const bool writes = options.mode == Mode::Compress || options.mode == Mode::Decompress;
    if (!options.outputName.empty() && !writes) throw UsageError{"-o is for compressing and decompressing"};
    if (!options.outputName.empty() && options.toStandardOutput) throw UsageError{"-o and -c exclude each other"};
    if (!options.outputName.empty() && options.files.size() > 1) throw UsageError{"-o takes a single input file"};
    if (options.legacy && options.mode != Mode::Compress) throw UsageError{"--legacy is for compressing"};
    // Containers carry no member boundaries: joined, they would not decode.
    if (options.mode == Mode::Compress && options.toStandardOutput && options.files.size() > 1)
        throw UsageError{"-c compresses a single input file"};
}

void ProcessFile(const Options& options, const std::string& path) {
    switch (options.mode) {
    case Mode::Compress: CompressFile(options, path); break;
    case Mode::Decompress: DecompressFile(options, path); break;
    case Mode::List: ListFile(path); break;
    case Mode::Test: TestFile(options, path); break;
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

int Run(const Options& options) {
    if (options.mode == Mode::Compress && options.toStandardOutput && !options.force && isatty(STDOUT_FILENO)) {
        fprintf(stderr, "lzari: compressed data not written to a terminal; use -f to force\n");
        return ExitError;
    }
    if (options.mode == Mode::List) PrintListHeading();
    bool allSucceeded = true;
    for (const std::string& path : options.files) allSucceeded = ProcessReporting(options, path) && allSucceeded;
    return allSucceeded ? ExitOk : ExitError;
}

int ReportUsage(const std::string& message) {
    fprintf(stderr, "lzari: %s\nTry 'lzari -h' for help.\n", message.c_str());
    return ExitUsage;
}

}  // namespace

int main(int argc, char** argv) {
    CLI::App app("Compress or decompress files in LZARI payload containers.", "lzari");
    Options options;
    bool decompress = false, list = false, test = false;
    DefineOptions(app, options, decompress, list, test);
    try {
        app.parse(argc, argv);
    } catch (const CLI::CallForHelp&) {
        printf("%s", app.help().c_str());
        return ExitOk;
    } catch (const CLI::ParseError& error) {
        return ReportUsage(error.what());
    }
    options.mode = ModeOf(decompress, list, test);
    try {
        CheckCombination(options);
    } catch (const UsageError& error) {
        return ReportUsage(error.message);
    }
    return Run(options);
}
