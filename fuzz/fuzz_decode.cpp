// Arbitrary bytes as a container: the decoder must neither crash nor touch
// memory outside the container, and a success must be whole and agree with
// the container's description. The streaming decoder, from the same state,
// must end the same way with the same bytes.
#include <string.h>

#include "codec/lzari.h"
#include "codec/stream_decoder.h"
#include "fuzz/fuzz_support.h"

// A decode that succeeded found what the description reads.
static bool AgreesWithDescription(const LzariState& state, const uint8_t* data, size_t size, uint32_t length) {
    LzariContainer container;
    return LzariDescribeContainer(data, (uint32_t)size, &container) == LzariOk && container.decodedSize == length &&
           container.version == state.version && container.fileTimeLow == state.fileTimeLow &&
           container.fileTimeHigh == state.fileTimeHigh;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static LzariState state, streaming;
    streaming = state;
    std::vector<uint8_t> streamed;
    streaming.sink = Collect;
    streaming.sinkContext = &streamed;
    LzariDecodeStream(&streaming, data, (uint32_t)size);
    uint32_t length = 0;
    uint8_t* out = LzariDecodeWith(&state, data, (uint32_t)size, &length);
    Check(state.status == LzariOk ? AgreesWithDescription(state, data, size, length) && (length != 0) == (out != nullptr)
                                  : out == nullptr && length == 0 && state.version == -1);
    Check(streaming.status == state.status && streaming.version == state.version &&
          (state.status != LzariOk || (streamed.size() == length && (!length || !memcmp(streamed.data(), out, length)))));
    free(out);
    return 0;
}
