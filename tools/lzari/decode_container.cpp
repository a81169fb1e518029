#include "tools/lzari/decode_container.h"

#include <string.h>

#include <algorithm>
#include <memory>
#include <new>

#include "tools/lzari/file_error.h"
#include "tools/lzari/progress.h"

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

ContainerInfo Describe(const std::string& name, const std::vector<uint8_t>& container) {
    ContainerInfo info;
    const std::string cause = DescribeContainer(container.data(), container.size(), &info);
    if (!cause.empty()) throw FileError(name, cause);
    return info;
}

constexpr const char* ExtraBytes = "bytes after the coded stream";

// The decoder reads nothing of an empty file's stream, so it is compared
// with the one stream the encoder writes for no bytes.
const char* EmptyFileEndFault(const std::vector<uint8_t>& container, const ContainerInfo& info) {
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

const char* EndFault(LzariState* state, const std::vector<uint8_t>& container, const ContainerInfo& info) {
    const size_t end = LzariCodedEnd(state), trailers = container.size() - TrailersSize(info.version);
    if (end == trailers) return nullptr;
    return end < trailers ? ExtraBytes : "damaged container";
}

}  // namespace

DecodedFile DecodeContainer(const std::string& name, const std::vector<uint8_t>& container, Progress* progress) {
    DecodedFile decoded;
    decoded.info = Describe(name, container);
    // The work follows the decoded size, which may be far larger.
    progress->SetInputSize(std::max<uint64_t>(container.size(), decoded.info.decodedSize));
    CodecRun run(progress, "decompressing");
    LzariState* state = run.state();
    decoded.bytes.reset(LzariDecodeWith(state, container.data(), static_cast<uint32_t>(container.size()),
                                        &decoded.length));
    if (state->status != LzariOk) throw FileError(name, CauseOf(state->status));
    // The codec checks this itself; a disagreement would mean a wrong file.
    if (decoded.length != decoded.info.decodedSize || state->version != decoded.info.version)
        throw FileError(name, "damaged container");
    run.Done(decoded.length);
    decoded.endFault = decoded.length == 0 ? EmptyFileEndFault(container, decoded.info)
                                           : EndFault(state, container, decoded.info);
    return decoded;
}

void RequireCleanEnd(const std::string& name, const DecodedFile& decoded) {
    if (decoded.endFault) throw FileError(name, decoded.endFault);
}
