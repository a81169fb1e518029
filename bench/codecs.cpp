#include "bench/codecs.h"

#include <dlfcn.h>
#include <lzma.h>
#include <stdlib.h>
#include <zlib.h>

#include "codec/lzari.h"
#include "codec/stream_decoder.h"
#include "codec/threaded_encoder.h"

namespace {

typedef uint8_t* (*LzariCall)(const uint8_t* data, uint32_t size, uint32_t* length);

Bytes Call(LzariCall call, const Bytes& in) {
    uint32_t length = 0;
    uint8_t* data = call(in.data(), (uint32_t)in.size(), &length);
    Bytes out(data, data + (data ? length : 0));
    free(data);
    return out;
}

Bytes LzariCompress(const Bytes& in) {
    return Call(LzariEncode, in);
}

Bytes LzariDecompress(const Bytes& packed, size_t) {
    return Call(LzariDecode, packed);
}

uint8_t* EncodeThreaded(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncodeThreaded(&CodecState, data, size, length);
}

Bytes LzariCompressThreaded(const Bytes& in) {
    return Call(EncodeThreaded, in);
}

void Append(void* context, const uint8_t* bytes, uint32_t count) {
    Bytes* out = (Bytes*)context;
    out->insert(out->end(), bytes, bytes + count);
}

// As the lzari tool decodes: in pieces, each copied on.
Bytes LzariDecompressStreamed(const Bytes& packed, size_t original) {
    static LzariState state;
    Bytes out;
    out.reserve(original);
    state.sink = Append;
    state.sinkContext = &out;
    if (LzariDecodeStream(&state, packed.data(), (uint32_t)packed.size()) != LzariOk) out.clear();
    return out;
}

Bytes ZlibCompress(const Bytes& in) {
    uLongf length = compressBound(in.size());
    Bytes out(length);
    compress2(out.data(), &length, in.data(), in.size(), 6);
    out.resize(length);
    return out;
}

Bytes ZlibDecompress(const Bytes& packed, size_t original) {
    uLongf length = original;
    Bytes out(original);
    if (uncompress(out.data(), &length, packed.data(), packed.size()) != Z_OK) out.clear();
    return out;
}

Bytes XzCompress(const Bytes& in) {
    Bytes out(lzma_stream_buffer_bound(in.size()));
    size_t length = 0;
    lzma_easy_buffer_encode(6, LZMA_CHECK_CRC64, nullptr, in.data(), in.size(), out.data(), &length, out.size());
    out.resize(length);
    return out;
}

Bytes XzDecompress(const Bytes& packed, size_t original) {
    Bytes out(original);
    uint64_t memlimit = UINT64_MAX;
    size_t inPos = 0, outPos = 0;
    if (lzma_stream_buffer_decode(&memlimit, 0, nullptr, packed.data(), &inPos, packed.size(), out.data(), &outPos,
                                  out.size()) != LZMA_OK) {
        out.clear();  // reported as a mismatch
    }
    return out;
}

}  // namespace

std::vector<Codec> BuiltInCodecs() {
    return {{"current", LzariCompress, LzariDecompress},
            {"lzari tool", LzariCompressThreaded, LzariDecompressStreamed, true},
            {"zlib -6", ZlibCompress, ZlibDecompress},
            {"xz -6", XzCompress, XzDecompress}};
}

bool LoadCodec(const char* path, const char* name, Codec* codec, std::string* message) {
    void* library = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    LzariCall encode = library ? (LzariCall)dlsym(library, "ShimEncode") : nullptr;
    LzariCall decode = library ? (LzariCall)dlsym(library, "ShimDecode") : nullptr;
    if (!encode || !decode) {
        *message = library ? "no ShimEncode/ShimDecode in it" : dlerror();
        return false;
    }
    *codec = {name, [encode](const Bytes& in) { return Call(encode, in); },
              [decode](const Bytes& packed, size_t) { return Call(decode, packed); }};
    return true;
}
