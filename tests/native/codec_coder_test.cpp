// The adaptive model's halving point and the bit writer's owed bits: both
// shared by encoder and decoder, so a round trip cannot notice them going wrong.
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

struct OwedCase {
    int32_t owed;
    int bit;
    Bytes expected;  // the bytes written, the last one padded with zeros
};

class OwedBits : public ::testing::TestWithParam<OwedCase> {};

// A bit pays every owed bit with its opposite, however many are owed (a
// crafted input can make the coder owe more than a 16-bit count holds).
TEST_P(OwedBits, AreAllPaidWithTheOppositeBit) {
    std::unique_ptr<LzariState> s(new LzariState());
    StartEncoder(s.get());
    s->status = LzariOk;
    s->outputCapacity = 4;
    s->output = (uint8_t*)malloc(s->outputCapacity);
    s->pendingBits = GetParam().owed;
    OutputBit(s.get(), GetParam().bit);
    Bytes written = Take(s->output, s->outCount);
    if (s->bitMask != 0x80) written.push_back(s->bitBuffer);  // the partial byte
    EXPECT_EQ(s->pendingBits, 0);
    EXPECT_TRUE(written == GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(Codec, OwedBits,
                         ::testing::Values(OwedCase{3, 0, {0x70}}, OwedCase{8, 0, {0x7F, 0x80}},
                                           OwedCase{70000, 1, Concat({0x80}, Bytes(8750, 0))}));

}  // namespace
