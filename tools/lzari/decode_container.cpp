#include "tools/lzari/decode_container.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>
#include <vector>

#include "codec/stream_decoder.h"
#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/stream_output.h"
#include "tools/common/container_bytes.h"

namespace {

const char* CauseOf(LzariStatus status) {
    switch (status) {
        case LzariTooShort:
            return "container too short";
        case LzariBadMagic:
            return "not an LZARI container";
        case LzariNoMemory:
            return "out of memory";
        case LzariDamaged:
            return "damaged container";
        case LzariOk:
            break;
    }
    return "damaged container";
}

// The input file has refused anything over 4 GiB.
uint32_t SizeOf(const InputBytes& container) {
    return static_cast<uint32_t>(container.size());
}

ContainerInfo Describe(const std::string& name, const InputBytes& container) {
    ContainerInfo info;
    const std::string cause = DescribeContainer(container.data(), SizeOf(container), &info);
    if (!cause.empty()) throw FileError(name, cause);
    return info;
}

constexpr const char* ExtraBytes = "bytes after the coded stream";

// What the encoder writes for no bytes, in the container's version.
std::vector<uint8_t> EmptyContainer(int version) {
    static const uint8_t NoBytes[1] = {0};
    auto state = std::make_unique<LzariState>();
    auto empty = EncodeContainer(state.get(), NoBytes, 0, version == 1 ? std::optional<uint64_t>(0) : std::nullopt);
    if (!empty) throw std::bad_alloc();
    return std::move(*empty);
}

// The decoder reads nothing of an empty file's stream, so it is compared
// with the one stream the encoder writes for no bytes: magic and stream
// must be the same up to the trailers.
const char* EmptyFileEndFault(const InputBytes& container, const ContainerInfo& info) {
    const std::vector<uint8_t> empty = EmptyContainer(info.version);
    ContainerInfo emptyInfo;
    DescribeContainer(empty.data(), static_cast<uint32_t>(empty.size()), &emptyInfo);
    if (info.streamEnd < emptyInfo.streamEnd || memcmp(container.data(), empty.data(), emptyInfo.streamEnd) != 0)
        return "damaged container";
    return info.streamEnd == emptyInfo.streamEnd ? nullptr : ExtraBytes;
}

const char* EndFault(LzariState* state, const ContainerInfo& info) {
    const size_t end = LzariCodedEnd(state), trailers = info.streamEnd;
    if (end == trailers) return nullptr;
    return end < trailers ? ExtraBytes : "damaged container";
}

// The decoder's pieces go on to the output, and the container behind what
// it has read is released.
struct DecodeSink {
    LzariState* state;
    InputBytes* container;
    StreamOutput* output;
};

void TakeDecoded(void* context, const uint8_t* bytes, uint32_t count) {
    const DecodeSink* sink = static_cast<const DecodeSink*>(context);
    sink->container->Release(sink->state->inputPos);
    if (sink->output) sink->output->Take(bytes, count);
}

}  // namespace

DecodedFile DecodeContainer(const std::string& name, InputBytes& container, Progress* progress, StreamOutput* output) {
    DecodedFile decoded;
    decoded.info = Describe(name, container);
    // The work follows the decoded size, which may be far larger.
    progress->SetInputSize(std::max<uint64_t>(container.size(), decoded.info.decodedSize));
    CodecRun run(progress, "decompressing");
    LzariState* state = run.state();
    DecodeSink sink{state, &container, output};
    state->sink = TakeDecoded;
    state->sinkContext = &sink;
    LzariDecodeStream(state, container.data(), SizeOf(container));
    if (state->status != LzariOk) throw FileError(name, CauseOf(state->status));
    decoded.length = state->outCount;
    // The codec checks this itself; a disagreement would mean a wrong file.
    if (decoded.length != decoded.info.decodedSize || state->version != decoded.info.version)
        throw FileError(name, "damaged container");
    run.Done(decoded.length);
    decoded.endFault = decoded.length == 0 ? EmptyFileEndFault(container, decoded.info) : EndFault(state, decoded.info);
    return decoded;
}

DecodedFile DecodeInput(InputFile& input, Progress* progress, StreamOutput* output) {
    const std::unique_ptr<InputBytes> container = input.Load(progress);
    try {
        const DecodedFile decoded = DecodeContainer(input.name(), *container, progress, output);
        input.CheckUnchanged();
        return decoded;
    } catch (const FileError&) {
        input.CheckUnchanged();
        throw;
    }
}

void RequireCleanEnd(const std::string& name, const DecodedFile& decoded) {
    if (decoded.endFault) throw FileError(name, decoded.endFault);
}
