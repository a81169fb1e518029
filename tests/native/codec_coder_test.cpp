// The adaptive model's halving point: shared by encoder and decoder, so a
// round trip cannot notice it going wrong.
#include <gtest/gtest.h>

#include <memory>

#include "codec/lzari_internal.h"
#include "codec_test_support.h"

namespace {

int FreqOfChar(const LzariState& s, int ch) { return s.symbolFreq[s.symbolOfChar[ch]]; }

TEST(CodecModel, HalvesOnlyOnTheUpdateAfterTheTotalReachesTheLimit) {
    std::unique_ptr<LzariState> s(new LzariState());
    StartModel(s.get());
    ASSERT_EQ(s->symbolCum[0], 314);  // every character once
    // 313 characters once and 'a' the rest of the way to 0x7FFF.
    const int aCount = 0x7FFF - 313;
    for (int i = 1; i < aCount; i++) UpdateModel(s.get(), s->symbolOfChar['a']);
    EXPECT_EQ(s->symbolCum[0], 0x7FFF);
    EXPECT_EQ(FreqOfChar(*s, 'a'), aCount);

    UpdateModel(s.get(), s->symbolOfChar['b']);
    EXPECT_EQ(FreqOfChar(*s, 'a'), (aCount + 1) / 2);
    EXPECT_EQ(FreqOfChar(*s, 'b'), 2);  // halved from 1 to 1, then counted
    EXPECT_EQ(FreqOfChar(*s, 'c'), 1);
    EXPECT_EQ(s->symbolCum[0], (aCount + 1) / 2 + 313 + 1);
}

}  // namespace
