// Arbitrary bytes as a file: every form of the encoder must write the
// single-threaded encoder's container. The first two bytes choose how the
// threaded form shares its trees out and how small its blocks are, so
// that short inputs wrap its table of matches many times over.
#include "codec/threaded_encoder.h"
#include "fuzz/fuzz_support.h"

namespace {

using Bytes = std::vector<uint8_t>;
using EncodeFunction = uint8_t* (*)(LzariState*, const uint8_t*, uint32_t, uint32_t*);

Bytes Encode(LzariState* state, EncodeFunction encode, const uint8_t* data, size_t size) {
    uint32_t length = 0;
    uint8_t* out = encode(state, data, (uint32_t)size, &length);
    Check(out != nullptr && state->status == LzariOk);
    Bytes bytes(out, out + length);
    free(out);
    return bytes;
}

Bytes EncodeToSink(LzariState* state, EncodeFunction encode, const uint8_t* data, size_t size) {
    Bytes bytes;
    state->sink = Collect;
    state->sinkContext = &bytes;
    uint32_t length = 0;
    Check(encode(state, data, (uint32_t)size, &length) == nullptr && state->status == LzariOk);
    state->sink = nullptr;
    return bytes;
}

// The first tree thread keeps the trees of the first bytes with one chosen
// bit set, or every tree, or none.
TreeShare ChosenShare(const uint8_t* data, size_t size) {
    const int bit = size > 0 ? data[0] % 10 : 8;
    TreeShare share;
    for (int c = 0; c < 256; c++) share.firstKeeps[c] = bit < 8 ? (c >> bit & 1) : bit == 8;
    share.blockShift = size > 1 ? (data[1] & 0x7F) % (DefaultBlockShift + 1) : DefaultBlockShift;
    return share;
}

TreeShare share;

uint8_t* EncodeChosenShare(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncodeShared(state, data, size, &share, length);
}

}  // namespace

// Each run starts two threads, which is slow under the sanitizers: one
// threaded form a run, the first byte choosing it (mostly a share of its
// own, now and then the tool's) and the second whether to a sink.
extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LzariState single, threaded;
    const Bytes expected = Encode(&single, LzariEncodeWith, data, size);
    Check(EncodeToSink(&single, LzariEncodeWith, data, size) == expected);
    share = ChosenShare(data, size);
    const EncodeFunction encode = size > 0 && data[0] >= 240 ? LzariEncodeThreaded : EncodeChosenShare;
    const bool toSink = size > 1 && data[1] & 0x80;
    Check((toSink ? EncodeToSink : Encode)(&threaded, encode, data, size) == expected);
    return 0;
}
