// A 50 MB file of mixed text and random runs, the ring wrapping over 12,000
// times. Slow under the sanitizers, so it runs as its own labelled test.
#include <gtest/gtest.h>

#include "codec_test_support.h"

namespace {

Bytes MixedFile(size_t count) {
    Bytes out;
    out.reserve(count);
    for (uint32_t block = 1; out.size() < count; block++) {
        Bytes part = block % 3 ? GeneratedText(1 << 20, block) : RandomBytes(1 << 20, block);
        out.insert(out.end(), part.begin(), part.end());
    }
    out.resize(count);
    return out;
}

TEST(CodecLarge, FiftyMegabytesRoundTrip) {
    Bytes input = MixedFile(50u << 20);
    Bytes container = Encode(input);
    ASSERT_FALSE(container.empty());
    Decoded d = Decode(container);
    ASSERT_EQ(d.status, LzariOk);
    EXPECT_EQ(d.length, input.size());
    EXPECT_TRUE(d.bytes == input);
}

}  // namespace
