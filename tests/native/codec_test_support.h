// Inputs and helpers shared by the codec tests.
#pragma once

#include <stdint.h>
#include <stdlib.h>
#include <string.h>

#include <string>
#include <vector>

#include "codec/lzari.h"

using Bytes = std::vector<uint8_t>;

inline Bytes AsBytes(const std::string& text) { return Bytes(text.begin(), text.end()); }

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

inline Bytes ReadFilePrefix(const char* path, size_t limit) {
    Bytes out;
    FILE* f = fopen(path, "rb");
    if (!f) return out;
    out.resize(limit);
    out.resize(fread(out.data(), 1, limit, f));
    fclose(f);
    return out;
}

// Owns a malloc'ed codec result.
struct Buffer {
    uint8_t* data = nullptr;
    uint32_t length = 0;
    ~Buffer() { free(data); }
    Bytes bytes() const { return data ? Bytes(data, data + length) : Bytes(); }
};

inline Bytes Encode(const Bytes& input, LzariState* state = &CodecState) {
    Buffer out;
    out.data = LzariEncodeWith(state, input.data(), (uint32_t)input.size(), &out.length);
    return out.bytes();
}

// A copy in a heap block of exactly its size, so that ASan reports any read
// past the container.
struct ExactCopy {
    uint8_t* data;
    uint32_t size;
    explicit ExactCopy(const Bytes& bytes) : size((uint32_t)bytes.size()) {
        data = (uint8_t*)malloc(size ? size : 1);
        if (size) memcpy(data, bytes.data(), size);
    }
    ~ExactCopy() { free(data); }
};

struct Decoded {
    bool isNull = true;
    Bytes bytes;
    uint32_t length = 0;
    LzariStatus status = LzariOk;
    int32_t version = 0;
    uint32_t fileTimeLow = 0, fileTimeHigh = 0;
    uint32_t inputPos = 0;
};

inline Decoded Decode(const Bytes& container, LzariState* state = &CodecState) {
    ExactCopy copy(container);
    Buffer out;
    out.data = LzariDecodeWith(state, copy.data, copy.size, &out.length);
    Decoded d;
    d.isNull = out.data == nullptr;
    d.bytes = out.bytes();
    d.length = out.length;
    d.status = state->status;
    d.version = state->version;
    d.fileTimeLow = state->fileTimeLow;
    d.fileTimeHigh = state->fileTimeHigh;
    d.inputPos = state->inputPos;
    return d;
}

inline uint32_t Le32At(const Bytes& b, size_t offset) {
    return (uint32_t)b[offset] | (uint32_t)b[offset + 1] << 8 | (uint32_t)b[offset + 2] << 16 |
           (uint32_t)b[offset + 3] << 24;
}

inline Bytes WithLe32(Bytes b, uint32_t value) {
    for (int i = 0; i < 4; i++) b.push_back((uint8_t)(value >> (8 * i)));
    return b;
}
