// A 50 MB file of mixed text and random runs, the ring wrapping over 12,000
// times. Slow under the sanitizers, so it runs as its own labelled test.
#include <gtest/gtest.h>

#include "tests/native/codec_test_support.h"

TEST(CodecLarge, FiftyMegabytesRoundTrip) {
    Bytes input;
    for (uint32_t block = 1; input.size() < (50u << 20); block++)
        input = Concat(std::move(input), block % 3 ? GeneratedText(1 << 20, block) : RandomBytes(1 << 20, block));
    const Bytes container = Encode(input);
    Decoded d = Decode(container);
    ASSERT_EQ(d.status, LzariOk);
    EXPECT_EQ(d.length, input.size());
    EXPECT_TRUE(d.bytes == input);
    Pieces pieces;  // and through the streaming decoder's window, 50 times over
    EXPECT_EQ(DecodeStreamed(container, std::unique_ptr<LzariState>(new LzariState()).get(), &pieces).status, LzariOk);
    EXPECT_TRUE(pieces.bytes == input);
}
