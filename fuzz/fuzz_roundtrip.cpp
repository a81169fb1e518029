// Arbitrary bytes as a file: encoding then decoding must give them back,
// and the version 1 form, streamed out of an encode, must decode to the
// same bytes and carry its FILETIME.
#include <string.h>

#include "codec/lzari.h"
#include "fuzz/fuzz_support.h"

// The version 1 container of `data`, as the tools write it.
static std::vector<uint8_t> EncodeVersion1(LzariState* state, const uint8_t* data, size_t size) {
    std::vector<uint8_t> container;
    LzariVersion1Writer writer = {Collect, &container, 7, 9, 0};
    LzariStartVersion1(state, &writer);
    uint32_t unused = 0;
    LzariEncodeWith(state, data, (uint32_t)size, &unused);
    Check(state->status == LzariOk);
    LzariFinishVersion1(&writer);
    state->sink = nullptr;
    return container;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LzariState state;
    uint32_t packedLength = 0, length = 0;
    uint8_t* packed = LzariEncodeWith(&state, data, (uint32_t)size, &packedLength);
    Check(packed != nullptr);

    uint8_t* out = LzariDecodeWith(&state, packed, packedLength, &length);
    Check(state.status == LzariOk && state.version == 0 && length == size);
    Check(size == 0 || memcmp(out, data, size) == 0);
    free(out);

    std::vector<uint8_t> v1 = EncodeVersion1(&state, data, size);
    out = LzariDecodeWith(&state, v1.data(), (uint32_t)v1.size(), &length);
    Check(state.status == LzariOk && state.version == 1 && state.fileTimeLow == 7 &&
          state.fileTimeHigh == 9 && length == size);
    Check(size == 0 || memcmp(out, data, size) == 0);
    free(out);
    free(packed);
    return 0;
}
