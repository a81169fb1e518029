#include "tools/lzari/decode_container.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>

#include "codec/stream_decoder.h"
#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/input_file.h"
#include "tools/lzari/progress.h"
#include "tools/lzari/stream_output.h"

namespace {

const char* CauseOf(LzariStatus status) {
    switch (status) {
    case LzariTooShort: return "container too short";
    case LzariBadMagic: return "not an LZARI container";
    case LzariNoMemory: return "out of memory";
    case LzariDamaged: return "damaged container";
    case LzariOk: break;
    }
    return "damaged container";
}

ContainerInfo Describe(const std::string& name, const InputBytes& container) {
    ContainerInfo info;
    const std::string cause = DescribeContainer(container.data(), container.size(), &info);
    if (!cause.empty()) throw FileError(name, cause);
    return info;
}

constexpr const char* ExtraBytes = "bytes after the coded stream";

// The decoder reads nothing of an empty file's stream, so it is compared
// with the one stream the encoder writes for no bytes.
const char* EmptyFileEndFault(const InputBytes& container, const ContainerInfo& info) {
    static const uint8_t NoBytes[1] = {0};
    auto state = std::make_unique<LzariState>();
    uint32_t length = 0;
    const CodecBuffer empty(LzariEncodeWith(state.get(), NoBytes, 0, &length));
    if (!empty) throw std::bad_alloc();
    // Magic and size field aside, both hold the stream alone.
    const size_t streamSize = length - 8, expected = 4 + streamSize + TrailersSize(info.version);
    if (container.size() < expected || memcmp(container.data() + 4, empty.get() + 4, streamSize) != 0)
        return "damaged container";
    return container.size() == expected ? nullptr : ExtraBytes;
}

const char* EndFault(LzariState* state, const InputBytes& container, const ContainerInfo& info) {
    const size_t end = LzariCodedEnd(state), trailers = container.size() - TrailersSize(info.version);
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

DecodedFile DecodeContainer(const std::string& name, InputBytes& container, Progress* progress,
                            StreamOutput* output) {
    DecodedFile decoded;
    decoded.info = Describe(name, container);
    // The work follows the decoded size, which may be far larger.
    progress->SetInputSize(std::max<uint64_t>(container.size(), decoded.info.decodedSize));
    CodecRun run(progress, "decompressing");
    LzariState* state = run.state();
    DecodeSink sink{state, &container, output};
    state->sink = TakeDecoded;
    state->sinkContext = &sink;
    LzariDecodeStream(state, container.data(), static_cast<uint32_t>(container.size()));
    if (state->status != LzariOk) throw FileError(name, CauseOf(state->status));
    decoded.length = state->outCount;
    // The codec checks this itself; a disagreement would mean a wrong file.
    if (decoded.length != decoded.info.decodedSize || state->version != decoded.info.version)
        throw FileError(name, "damaged container");
    run.Done(decoded.length);
    decoded.endFault = decoded.length == 0 ? EmptyFileEndFault(container, decoded.info)
                                           : EndFault(state, container, decoded.info);
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
