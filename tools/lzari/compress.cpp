#include <stdio.h>

#include "codec/threaded_encoder.h"
#include "tools/lzari/atomic_output.h"
#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/file_times.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/operations.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/suffix.h"

namespace {

struct Container {
    CodecBuffer bytes;
    uint32_t length = 0;
};

// From this size on, two more threads keep the match finder's trees.
const size_t ThreadedFrom = 1 << 20;

Container Encode(const std::string& path, const std::vector<uint8_t>& data, bool legacy, uint64_t fileTime) {
    static const uint8_t NoBytes[1] = {0};
    const uint8_t* source = data.empty() ? NoBytes : data.data();
    auto state = NewCodecState();
    Container container;
    auto encode = data.size() >= ThreadedFrom ? LzariEncodeThreaded : LzariEncodeWith;
    container.bytes.reset(encode(state.get(), source, static_cast<uint32_t>(data.size()), &container.length));
    if (!container.bytes) throw FileError(path, "out of memory");
    if (legacy) return container;

    Container current;
    current.bytes.reset(MakeVersion1Container(container.bytes.get(), container.length,
                                              static_cast<uint32_t>(fileTime),
                                              static_cast<uint32_t>(fileTime >> 32), &current.length));
    if (!current.bytes) throw FileError(path, "out of memory");
    return current;
}

std::string TargetFor(const Options& options, const std::string& path) {
    return options.outputName.empty() ? path + ContainerSuffix : options.outputName;
}

uint64_t ContainerTimeOf(const InputFile& input) {
    const auto fileTime = FileTimeFromUnix(input.status().st_mtim);
    if (!fileTime) throw FileError(input.path(), "modification time cannot be stored in a container");
    return *fileTime;
}

void ReportCompression(const std::string& path, uint64_t size, uint32_t packed, const std::string& target) {
    const double percent = size == 0 ? 0.0 : 100.0 * packed / static_cast<double>(size);
    fprintf(stderr, "%s: %llu -> %u bytes (%.1f%%) -> %s\n", path.c_str(),
            static_cast<unsigned long long>(size), packed, percent, target.c_str());
}

}  // namespace

void CompressFile(const Options& options, const std::string& path) {
    InputFile input(path);
    if (HasContainerSuffix(path) && !options.force)
        throw FileError(path, "already has .lzr suffix; use -f to compress it again");
    const std::string target = options.toStandardOutput ? "(stdout)" : TargetFor(options, path);
    if (!options.toStandardOutput) {
        if (IsSameFile(input.status(), target)) throw FileError(target, "input and output are the same file");
        RefuseExistingTarget(target, options.force);
    }
    const uint64_t fileTime = options.legacy ? 0 : ContainerTimeOf(input);

    Progress progress(path, input.size());
    const std::vector<uint8_t> data = input.ReadAll(&progress);
    progress.Announce("compressing");
    const Container container = Encode(path, data, options.legacy, fileTime);

    if (options.toStandardOutput) {
        progress.Finish();
        WriteToStandardOutput(container.bytes.get(), container.length);
    } else {
        AtomicOutput output(target);
        output.Write(container.bytes.get(), container.length, &progress);
        output.SetMode(input.status().st_mode);
        output.SetTimes(input.status().st_atim, input.status().st_mtim);
        output.Commit(options.force);
        progress.Finish();
        if (!options.keepInput) RemoveInput(path);
    }
    if (options.verbose) ReportCompression(path, data.size(), container.length, target);
}
