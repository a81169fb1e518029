#include <stdio.h>

#include "tools/lzari/atomic_output.h"
#include "tools/lzari/decode_container.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/file_times.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/suffix.h"

namespace {

std::string TargetFor(const Options& options, const std::string& path) {
    if (options.toStandardOutput) return "(stdout)";
    if (!options.outputName.empty()) return options.outputName;
    if (!HasContainerSuffix(path)) throw FileError(path, "unknown suffix, expected .lzr; use -o NAME or -c");
    std::string target = StripContainerSuffix(path);
    if (target.empty()) throw FileError(path, "no name left without the .lzr suffix; use -o NAME");
    return target;
}

DecodedFile ReadAndDecode(InputFile& input, Progress* progress) {
    const std::vector<uint8_t> container = input.ReadAll(progress);
    progress->Announce("decompressing");
    return DecodeContainer(input.path(), container);
}

void WriteDecoded(const Options& options, const InputFile& input, const DecodedFile& decoded,
                  const std::string& target, Progress* progress) {
    AtomicOutput output(target);
    output.Write(decoded.bytes.get(), decoded.length, progress);
    output.SetMode(input.status().st_mode);
    // A version 0 container holds no time: the file keeps the time it is written.
    if (decoded.info.version == 1) {
        const timespec stamp = UnixFromFileTime(decoded.info.fileTime);
        output.SetTimes(stamp, stamp);
    }
    output.Commit(options.force);
}

}  // namespace

void DecompressFile(const Options& options, const std::string& path) {
    InputFile input(path);
    const std::string target = TargetFor(options, path);
    if (!options.toStandardOutput) {
        if (IsSameFile(input.status(), target)) throw FileError(target, "input and output are the same file");
        RefuseExistingTarget(target, options.force);
    }

    Progress progress(path, input.size());
    const DecodedFile decoded = ReadAndDecode(input, &progress);
    if (options.toStandardOutput) {
        progress.Finish();
        WriteToStandardOutput(decoded.bytes.get(), decoded.length);
    } else {
        WriteDecoded(options, input, decoded, target, &progress);
        progress.Finish();
        if (!options.keepInput) RemoveInput(path);
    }
    if (options.verbose)
        fprintf(stderr, "%s: %llu -> %u bytes -> %s\n", path.c_str(),
                static_cast<unsigned long long>(input.size()), decoded.length, target.c_str());
}

void TestFile(const Options& options, const std::string& path) {
    InputFile input(path);
    Progress progress(path, input.size());
    ReadAndDecode(input, &progress);
    progress.Finish();
    if (options.verbose) fprintf(stderr, "%s: OK\n", path.c_str());
}
