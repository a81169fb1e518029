// Inputs and helpers shared by the codec tests.
#pragma once

#include <stdint.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "codec/lzari.h"
#include "codec/stream_decoder.h"
#include "common/little_endian.h"

using Bytes = std::vector<uint8_t>;

inline Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

inline Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Deterministic pseudo-random bytes (xorshift), so failures reproduce.
inline Bytes RandomBytes(size_t count, uint32_t seed) {
    Bytes out(count);
    uint32_t x = seed ? seed : 1;
    for (auto& b : out) {
        x ^= x << 13;
        x ^= x >> 17;
        x ^= x << 5;
        b = (uint8_t)(x >> 24);
    }
    return out;
}

// English-like text with repeats at every distance the ring allows.
inline Bytes GeneratedText(size_t count, uint32_t seed) {
    static const char* words[] = {"the ", "payload ", "container ", "ring ", "of ", "bytes ",
                                  "installer ", "writes ", "each ", "file\n", "a ", "model ",
                                  "Varnoset ", "Holbrine ", "0x7FFF ", "window\t"};
    Bytes picks = RandomBytes(count, seed);
    std::string text;
    for (size_t i = 0; text.size() < count; i++) text += words[picks[i % count] % 16];
    text.resize(count);
    return AsBytes(text);
}

// Takes ownership of a malloc'ed codec result.
inline Bytes Take(uint8_t* data, uint32_t length) {
    Bytes out = data ? Bytes(data, data + length) : Bytes();
    free(data);
    return out;
}

inline Bytes Encode(const Bytes& input, LzariState* state = &CodecState) {
    uint32_t length = 0;
    uint8_t* data = LzariEncodeWith(state, input.data(), (uint32_t)input.size(), &length);
    return Take(data, length);
}

struct Decoded {
    bool isNull;
    Bytes bytes;
    uint32_t length;
    LzariStatus status;
    int32_t version;
    uint32_t fileTimeLow, fileTimeHigh, inputPos, codedEnd;
};

// Decodes from a copy, a heap block of exactly the container's size, so
// that ASan reports any read past it.
inline Decoded Decode(const Bytes& container, LzariState* state = &CodecState) {
    const Bytes copy = container;
    uint32_t length = 0;
    uint8_t* data = LzariDecodeWith(state, copy.data(), (uint32_t)copy.size(), &length);
    return Decoded{data == nullptr, Take(data, length), length, state->status, state->version,
                   state->fileTimeLow, state->fileTimeHigh, state->inputPos,
                   data ? LzariCodedEnd(state) : 0};
}

// Collects what a codec hands its sink, piece by piece.
struct Pieces {
    Bytes bytes;
    uint32_t largest = 0;
    static void Take(void* context, const uint8_t* bytes, uint32_t count) {
        Pieces* pieces = (Pieces*)context;
        pieces->bytes.insert(pieces->bytes.end(), bytes, bytes + count);
        if (count > pieces->largest) pieces->largest = count;
    }
};

// Decode's result through LzariDecodeStream (isNull: nothing passed on).
inline Decoded DecodeStreamed(const Bytes& container, LzariState* state, Pieces* pieces) {
    const Bytes copy = container;
    state->sink = Pieces::Take;
    state->sinkContext = pieces;
    LzariStatus status = LzariDecodeStream(state, copy.data(), (uint32_t)copy.size());
    state->sink = nullptr;
    bool ok = status == LzariOk && state->outCount > 0;
    return Decoded{pieces->bytes.empty(), pieces->bytes, ok ? state->outCount : 0, status, state->version,
                   state->fileTimeLow, state->fileTimeHigh, state->inputPos, ok ? LzariCodedEnd(state) : 0};
}

// The version 1 container of `input`, streamed out of an encode.
inline Bytes EncodeVersion1(const Bytes& input, uint32_t low, uint32_t high) {
    std::unique_ptr<LzariState> state(new LzariState());
    Pieces pieces;
    LzariVersion1Writer writer = {Pieces::Take, &pieces, low, high, 0};
    LzariStartVersion1(state.get(), &writer);
    uint32_t length = 0;
    if (LzariEncodeWith(state.get(), input.data(), (uint32_t)input.size(), &length) || state->status != LzariOk)
        return Bytes();
    LzariFinishVersion1(&writer);
    return pieces.bytes;
}

// What an encode hands its sink.
inline Pieces EncodeToSink(uint8_t* (*encode)(LzariState*, const uint8_t*, uint32_t, uint32_t*), const Bytes& input) {
    std::unique_ptr<LzariState> state(new LzariState());
    Pieces pieces;
    state->sink = Pieces::Take;
    state->sinkContext = &pieces;
    uint32_t length = 0;
    if (encode(state.get(), input.data(), (uint32_t)input.size(), &length) || state->status != LzariOk)
        pieces.bytes.clear();
    return pieces;
}

inline uint32_t Le32At(const Bytes& b, size_t offset) {
    LittleEndianReader in(b);
    uint32_t value = in.U32(offset);
    EXPECT_TRUE(in.ok()) << "no 4 bytes at " << offset << " of " << b.size();
    return value;
}

inline Bytes WithLe32(Bytes b, uint32_t value) {
    AppendLittleEndian(b, value, 4);
    return b;
}
