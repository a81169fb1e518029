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
const char* EmptyFileEndFault(const uint8_t* container, const ContainerInfo& info) {
    const std::vector<uint8_t> empty = EmptyContainer(info.version);
    ContainerInfo emptyInfo;
    DescribeContainer(empty.data(), static_cast<uint32_t>(empty.size()), &emptyInfo);
    if (info.streamEnd < emptyInfo.streamEnd || memcmp(container, empty.data(), emptyInfo.streamEnd) != 0)
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
    InputBytes* input;
    uint64_t begin;
    StreamOutput* output;
};

void TakeDecoded(void* context, const uint8_t* bytes, uint32_t count) {
    const DecodeSink* sink = static_cast<const DecodeSink*>(context);
    sink->input->Release(sink->begin + sink->state->inputPos);
    if (sink->output) sink->output->Take(bytes, count);
}

// Decodes the member that lies in [begin, end) of the input; throws FileError
// naming `name` unless it decodes to its size field.
DecodedFile DecodeMember(const std::string& name, InputBytes& input, uint64_t begin, uint64_t end, Progress* progress,
                         StreamOutput* output) {
    const uint8_t* bytes = input.data() + begin;
    const uint32_t size = static_cast<uint32_t>(end - begin);  // the input file has refused anything over 4 GiB
    DecodedFile decoded;
    decoded.begin = begin;
    const std::string cause = DescribeContainer(bytes, size, &decoded.info);
    if (!cause.empty()) throw FileError(name, cause);
    // The work follows the decoded size, which may be far larger.
    progress->SetInputSize(std::max<uint64_t>(size, decoded.info.decodedSize));
    CodecRun run(progress, "decompressing");
    LzariState* state = run.state();
    DecodeSink sink{state, &input, begin, output};
    state->sink = TakeDecoded;
    state->sinkContext = &sink;
    LzariDecodeStream(state, bytes, size);
    if (state->status != LzariOk) throw FileError(name, CauseOf(state->status));
    decoded.length = state->outCount;
    // The codec checks this itself; a disagreement would mean a wrong file.
    if (decoded.length != decoded.info.decodedSize || state->version != decoded.info.version)
        throw FileError(name, "damaged container");
    run.Done(decoded.length);
    decoded.endFault = decoded.length == 0 ? EmptyFileEndFault(bytes, decoded.info) : EndFault(state, decoded.info);
    return decoded;
}

// Shortest container: a magic and a version 0 size field.
constexpr uint64_t SmallestContainer = 8;

// The first place from `from` on that reads "LzaR" or "LZar", else `end`.
// Read in pieces whose mapped pages are let go behind the search, each
// once it is searched: coded bytes hold an 'L' every few hundred.
uint64_t NextMagic(InputBytes& input, uint64_t from, uint64_t end) {
    constexpr uint64_t Piece = 4u << 20;
    const uint8_t* bytes = input.data();
    for (uint64_t piece = from; piece + 4 <= end; piece += Piece) {
        const uint64_t pieceEnd = std::min(end, piece + Piece);
        for (uint64_t at = piece; at < pieceEnd; ++at) {
            const void* found = memchr(bytes + at, 'L', pieceEnd - at);
            if (!found) break;
            at = static_cast<const uint8_t*>(found) - bytes;
            if (at + 4 <= end && (memcmp(bytes + at, "LzaR", 4) == 0 || memcmp(bytes + at, "LZar", 4) == 0)) return at;
        }
        input.Forget(piece, pieceEnd);
    }
    return end;
}

// A magic turns up inside a coded stream about once in 2 GiB; an input
// crafted to hold one every few bytes must not cost a decode at each.
constexpr int MostFalseMagics = 16;

// Where the member that begins at `begin` ends: at the first magic before
// which the bytes decode as a whole container with a clean end, else at
// `end` (the last member, or bytes that are not a container).
uint64_t MemberEnd(const std::string& name, InputBytes& input, uint64_t begin, uint64_t end, Progress* progress) {
    uint64_t candidate = NextMagic(input, begin + SmallestContainer, end);
    for (int tried = 0; candidate < end && tried < MostFalseMagics; ++tried) {
        try {
            if (!DecodeMember(name, input, begin, candidate, progress, nullptr).endFault) return candidate;
        } catch (const FileError&) {
            // A magic inside a coded stream: not a boundary.
        }
        candidate = NextMagic(input, candidate + 1, end);
    }
    return end;
}

std::vector<DecodedFile> DecodeMembers(const std::string& name, InputBytes& input, Progress* progress,
                                       StreamOutput* output) {
    std::vector<DecodedFile> members;
    const uint64_t end = input.size();
    uint64_t begin = 0;
    do {
        const uint64_t memberEnd = MemberEnd(name, input, begin, end, progress);
        members.push_back(DecodeMember(name, input, begin, memberEnd, progress, output));
        begin = memberEnd;
    } while (begin < end);
    return members;
}

}  // namespace

std::vector<DecodedFile> DecodeInput(InputFile& input, Progress* progress, StreamOutput* output) {
    const std::unique_ptr<InputBytes> container = input.Load(progress);
    try {
        std::vector<DecodedFile> members = DecodeMembers(input.name(), *container, progress, output);
        input.CheckUnchanged();
        return members;
    } catch (const FileError&) {
        input.CheckUnchanged();
        throw;
    }
}

void RequireCleanEnd(const std::string& name, const DecodedFile& decoded) {
    if (decoded.endFault) throw FileError(name, decoded.endFault);
}
