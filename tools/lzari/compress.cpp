#include <stdio.h>

#include "codec/threaded_encoder.h"
#include "tools/common/platform.h"
#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/output_file.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/stream_output.h"
#include "tools/lzari/suffix.h"
#include "common/file_time.h"

namespace {

// From this size on, two more threads keep the match finder's trees.
const size_t ThreadedFrom = 1 << 20;

void TakeContainer(void* context, const uint8_t* bytes, uint32_t count) {
    static_cast<StreamOutput*>(context)->Take(bytes, count);
}

// The encoder writes a version 0 container, which the version 1 writer
// turns into version 1 on its way out.
void Encode(const std::string& name, InputBytes& data, bool legacy, uint64_t fileTime, Progress* progress,
            StreamOutput* output) {
    CodecRun run(progress, "compressing", &data);
    LzariState* state = run.state();
    state->sink = TakeContainer;
    state->sinkContext = output;
    LzariVersion1Writer writer{TakeContainer, output, static_cast<uint32_t>(fileTime),
                               static_cast<uint32_t>(fileTime >> 32), 0};
    if (!legacy) LzariStartVersion1(state, &writer);
    auto encode = data.size() >= ThreadedFrom ? LzariEncodeThreaded : LzariEncodeWith;
    uint32_t unused = 0;
    encode(state, data.data(), static_cast<uint32_t>(data.size()), &unused);
    if (state->status != LzariOk) throw FileError(name, "out of memory");
    if (!legacy) LzariFinishVersion1(&writer);
    // Incompressible bytes near the limit would not fit the tool's own reading.
    if (output->total() > UINT32_MAX) throw FileError(name, "container would be over 4 GiB");
    run.Done(data.size());
}

std::string TargetFor(const Options& options, const std::string& path) {
    return options.outputName.empty() ? path + options.suffix : options.outputName;
}

// A pipe's time says nothing about its content: it gets the time of packing.
uint64_t ContainerTimeOf(const InputFile& input) {
    const timespec modified = input.status().regular ? input.status().modified : platform::Now();
    const auto fileTime = FileTimeOfUnix(modified);
    if (!fileTime) throw FileError(input.name(), "modification time cannot be stored in a container");
    return *fileTime;
}

void ReportCompression(const std::string& name, uint64_t size, uint64_t packed, const std::string& target) {
    const double percent = size == 0 ? 0.0 : 100.0 * packed / static_cast<double>(size);
    fprintf(stderr, "%s: %llu -> %llu bytes (%.1f%%) -> %s\n", name.c_str(), static_cast<unsigned long long>(size),
            static_cast<unsigned long long>(packed), percent, target.c_str());
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

    const std::unique_ptr<InputBytes> data = input.Load(&progress);
    progress.SetInputSize(data->size());
    StreamOutput stream(output.get());
    Encode(input.name(), *data, options.legacy, fileTime, &progress, &stream);
    input.CheckUnchanged();
    stream.Finish();
    if (output) {
        const timespec times[2] = {input.status().accessed, input.status().modified};
        Deliver(options, path, input, *output, input.status().regular ? times : nullptr, &progress);
    } else {
        progress.Finish();
    }
    if (options.verbose) ReportCompression(input.name(), data->size(), stream.total(), target);
}
