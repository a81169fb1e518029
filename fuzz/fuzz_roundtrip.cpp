// Arbitrary bytes as a file: encoding then decoding must give them back,
// and the version 1 form must decode to the same bytes.
#include <stdlib.h>
#include <string.h>

#include "codec/lzari.h"

static void Check(bool ok) {
    if (!ok) abort();
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LzariState state;
    uint32_t packedLength = 0, length = 0, v1Length = 0;
    uint8_t* packed = LzariEncodeWith(&state, data, (uint32_t)size, &packedLength);
    Check(packed != nullptr);

    uint8_t* out = LzariDecodeWith(&state, packed, packedLength, &length);
    Check(state.status == LzariOk && state.version == 0 && length == size);
    Check(size == 0 || memcmp(out, data, size) == 0);
    free(out);

    uint8_t* v1 = MakeVersion1Container(packed, packedLength, 7, 9, &v1Length);
    out = LzariDecodeWith(&state, v1, v1Length, &length);
    Check(state.status == LzariOk && state.version == 1 && state.fileTimeLow == 7 &&
          state.fileTimeHigh == 9 && length == size);
    Check(size == 0 || memcmp(out, data, size) == 0);
    free(out);
    free(v1);
    free(packed);
    return 0;
}
