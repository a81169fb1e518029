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

// Decodes every member; only clean ones are accepted.
std::vector<DecodedFile> ReadAndDecode(InputFile& input, Progress* progress, StreamOutput* output) {
    std::vector<DecodedFile> members = DecodeInput(input, progress, output);
    RequireCleanEnd(input.name(), members.back());
    return members;
}

uint64_t DecodedLength(const std::vector<DecodedFile>& members) {
    uint64_t length = 0;
    for (const DecodedFile& member : members) length += member.length;
    return length;
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
    const std::vector<DecodedFile> members = ReadAndDecode(input, &progress, &stream);
    stream.Finish();
    if (output) {
        // The first member's time, as gzip takes the first member's name. A
        // version 0 container holds none: the file keeps the time it is written.
        const ContainerInfo& first = members.front().info;
        const timespec stamp = UnixOfFileTime(first.fileTime), times[2] = {stamp, stamp};
        Deliver(options, path, input, *output, first.version == 1 ? times : nullptr, &progress);
    } else {
        progress.Finish();
    }
    if (options.verbose)
        fprintf(stderr, "%s: %llu -> %llu bytes -> %s\n", input.name().c_str(),
                static_cast<unsigned long long>(input.status().size),
                static_cast<unsigned long long>(DecodedLength(members)), target.c_str());
}

void TestFile(const Options& options, const std::string& given) {
    const std::string path = LocateContainer(given, options.suffix);
    InputFile input(path, RulesFor(options, path));
    Progress progress(input.name(), input.sizeHint(), options.quiet);
    ReadAndDecode(input, &progress, nullptr);
    progress.Finish();
    if (options.verbose) fprintf(stderr, "%s: OK\n", input.name().c_str());
}
