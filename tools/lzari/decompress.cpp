#include <stdio.h>

#include "tools/lzari/decode_container.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/output_file.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/stream_output.h"
#include "tools/lzari/suffix.h"
#include "common/file_time.h"

namespace {

std::string TargetFor(const Options& options, const std::string& path) {
    if (!options.outputName.empty()) return options.outputName;
    if (!HasSuffix(path, options.suffix))
        throw FileError(path, "unknown suffix, expected " + options.suffix + "; use -o NAME or -c");
    std::string target = StripSuffix(path, options.suffix);
    if (target.empty()) throw FileError(path, "no name left without the " + options.suffix + " suffix; use -o NAME");
    return target;
}

// Decodes the whole container; only a clean one is accepted.
DecodedFile ReadAndDecode(InputFile& input, Progress* progress, StreamOutput* output) {
    DecodedFile decoded = DecodeInput(input, progress, output);
    RequireCleanEnd(input.name(), decoded);
    return decoded;
}

}  // namespace

void DecompressFile(const Options& options, const std::string& given) {
    const std::string path = LocateContainer(given, options.suffix);
    InputFile input(path, RulesFor(options, path));
    const bool toStandardOutput = WritesToStandardOutput(options, path);
    const std::string target = toStandardOutput ? "(stdout)" : TargetFor(options, path);
    Progress progress(input.name(), input.sizeHint(), options.quiet);
    const auto output = toStandardOutput ? nullptr : OpenOutputBeside(options, input, target);

    StreamOutput stream(output.get());
    const DecodedFile decoded = ReadAndDecode(input, &progress, &stream);
    stream.Finish();
    if (output) {
        // A version 0 container holds no time: the file keeps the time it is written.
        const timespec stamp = UnixOfFileTime(decoded.info.fileTime), times[2] = {stamp, stamp};
        Deliver(options, path, input, *output, decoded.info.version == 1 ? times : nullptr, &progress);
    } else {
        progress.Finish();
    }
    if (options.verbose)
        fprintf(stderr, "%s: %llu -> %u bytes -> %s\n", input.name().c_str(),
                static_cast<unsigned long long>(decoded.info.containerSize), decoded.length, target.c_str());
}

void TestFile(const Options& options, const std::string& given) {
    const std::string path = LocateContainer(given, options.suffix);
    InputFile input(path, RulesFor(options, path));
    Progress progress(input.name(), input.sizeHint(), options.quiet);
    ReadAndDecode(input, &progress, nullptr);
    progress.Finish();
    if (options.verbose) fprintf(stderr, "%s: OK\n", input.name().c_str());
}
