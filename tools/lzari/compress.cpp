#include <stdio.h>

#include "codec/threaded_encoder.h"
#include "tools/lzari/atomic_output.h"
#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/file_times.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/output_file.h"
#include "tools/lzari/platform.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/suffix.h"

namespace {

struct Container {
    CodecBuffer bytes;
    uint32_t length = 0;
};

// From this size on, two more threads keep the match finder's trees.
const size_t ThreadedFrom = 1 << 20;

Container Encode(const std::string& name, const std::vector<uint8_t>& data, bool legacy, uint64_t fileTime,
                 Progress* progress) {
    static const uint8_t NoBytes[1] = {0};
    const uint8_t* source = data.empty() ? NoBytes : data.data();
    CodecRun run(progress, "compressing");
    Container container;
    auto encode = data.size() >= ThreadedFrom ? LzariEncodeThreaded : LzariEncodeWith;
    container.bytes.reset(encode(run.state(), source, static_cast<uint32_t>(data.size()), &container.length));
    if (!container.bytes) throw FileError(name, "out of memory");
    run.Done(data.size());
    if (legacy) return container;

    Container current;
    current.bytes.reset(MakeVersion1Container(container.bytes.get(), container.length,
                                              static_cast<uint32_t>(fileTime),
                                              static_cast<uint32_t>(fileTime >> 32), &current.length));
    if (!current.bytes) throw FileError(name, "out of memory");
    return current;
}

std::string TargetFor(const Options& options, const std::string& path) {
    return options.outputName.empty() ? path + options.suffix : options.outputName;
}

// A pipe's time says nothing about its content: it gets the time of packing.
uint64_t ContainerTimeOf(const InputFile& input) {
    const timespec modified = input.status().regular ? input.status().modified : platform::Now();
    const auto fileTime = FileTimeFromUnix(modified);
    if (!fileTime) throw FileError(input.name(), "modification time cannot be stored in a container");
    return *fileTime;
}

void ReportCompression(const std::string& name, uint64_t size, uint32_t packed, const std::string& target) {
    const double percent = size == 0 ? 0.0 : 100.0 * packed / static_cast<double>(size);
    fprintf(stderr, "%s: %llu -> %u bytes (%.1f%%) -> %s\n", name.c_str(),
            static_cast<unsigned long long>(size), packed, percent, target.c_str());
}

}  // namespace

void CompressFile(const Options& options, const std::string& path) {
    if (path != StandardStream && HasSuffix(path, options.suffix) && !options.force)
        throw FileError(path, "already has " + options.suffix + " suffix; use -f to compress it again");
    InputFile input(path, RulesFor(options, path));
    const bool toStandardOutput = WritesToStandardOutput(options, path);
    const std::string target = toStandardOutput ? "(stdout)" : TargetFor(options, path);
    const uint64_t fileTime = options.legacy ? 0 : ContainerTimeOf(input);
    Progress progress(input.name(), input.sizeHint(), options.quiet);
    const auto output = toStandardOutput ? nullptr : OpenOutputBeside(options, input, target);

    const std::vector<uint8_t> data = input.ReadAll(&progress);
    progress.SetInputSize(data.size());
    const Container container = Encode(input.name(), data, options.legacy, fileTime, &progress);
    if (output) {
        const timespec times[2] = {input.status().accessed, input.status().modified};
        Deliver(options, path, input, *output, container.bytes.get(), container.length,
                input.status().regular ? times : nullptr, &progress);
    } else {
        progress.Finish();
        WriteToStandardOutput(container.bytes.get(), container.length);
    }
    if (options.verbose) ReportCompression(input.name(), data.size(), container.length, target);
}
