// The bit writer's owed bits and the bit reader, on their own.
#include <gtest/gtest.h>

#include <memory>

#include "codec/lzari_internal.h"
#include "codec_test_support.h"

namespace {

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
    Bytes written(s->output, s->output + s->outCount);
    if (s->bitMask != 0x80) written.push_back(s->bitBuffer);  // the partial byte
    free(s->output);
    EXPECT_EQ(s->pendingBits, 0);
    EXPECT_TRUE(written == GetParam().expected);
}

Bytes OneThenZeros(size_t bytes) {
    Bytes b(bytes, 0x00);
    b[0] = 0x80;
    return b;
}

INSTANTIATE_TEST_SUITE_P(Codec, OwedBits,
                         ::testing::Values(OwedCase{0, 1, {0x80}}, OwedCase{3, 0, {0x70}},
                                           OwedCase{7, 1, {0x80}}, OwedCase{8, 0, {0x7F, 0x80}},
                                           OwedCase{40000, 1, OneThenZeros(5001)},
                                           OwedCase{70000, 1, OneThenZeros(8751)}));

struct ReaderCase {
    Bytes input;
    uint32_t start;
    std::vector<int> bits;
    bool ranOut;
};

class BitReader : public ::testing::TestWithParam<ReaderCase> {};

// Most significant bit first; past the end, zeros and a note that it ran out,
// without touching a byte beyond the input (an exact-size copy).
TEST_P(BitReader, ReadsBitsThenZerosPastTheEnd) {
    std::unique_ptr<LzariState> s(new LzariState());
    ExactCopy copy(GetParam().input);
    s->input = copy.data;
    s->inputSize = copy.size;
    s->inputPos = GetParam().start;
    s->bitMask = 0;
    s->inputExhausted = false;
    std::vector<int> got;
    for (size_t i = 0; i < GetParam().bits.size(); i++) got.push_back(GetBit(s.get()));
    EXPECT_EQ(got, GetParam().bits);
    EXPECT_EQ(s->inputExhausted, GetParam().ranOut);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, BitReader,
    ::testing::Values(ReaderCase{{0xA5}, 0, {1, 0, 1, 0, 0, 1, 0, 1}, false},
                      ReaderCase{{0xA5}, 0, {1, 0, 1, 0, 0, 1, 0, 1, 0}, true},
                      ReaderCase{{}, 0, {0, 0, 0}, true},
                      ReaderCase{{0x12, 0xC1}, 1, {1, 1, 0, 0, 0, 0, 0, 1}, false},
                      ReaderCase{{0x12, 0xFF}, 1, {1, 1, 1, 1, 1, 1, 1, 1, 0, 0}, true}));

}  // namespace
