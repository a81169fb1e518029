// Damaged containers: never a read outside the container, never a write
// past the stored size, never a half-trusted result.
#include <gtest/gtest.h>

#include <tuple>

#include "tests/native/codec_test_support.h"

namespace {

// The only two acceptable outcomes for any input: the whole stored size, or
// nothing and no version. Decoding into a caller's buffer ends the same way
// and never frees the buffer.
// The streaming decoder, given the same ring, ends the same way and leaves
// the same ring.
void ExpectWholeOrNothing(const Bytes& container, size_t index) {
    std::unique_ptr<LzariState> streaming(new LzariState(CodecState));
    Decoded d = Decode(container);
    Pieces pieces;
    Decoded s = DecodeStreamed(container, streaming.get(), &pieces);
    ASSERT_EQ(std::make_tuple(s.status, s.version, s.fileTimeLow, s.fileTimeHigh, s.length, s.codedEnd),
              std::make_tuple(d.status, d.version, d.fileTimeLow, d.fileTimeHigh, d.length, d.codedEnd)) << index;
    ASSERT_TRUE(s.bytes == d.bytes) << index;
    ASSERT_EQ(memcmp(streaming->ring, CodecState.ring, RingSize), 0) << index;
    static uint8_t buffer[1 << 20];  // over 1024 times any container here
    uint32_t length = 0;
    ASSERT_EQ(LzariDecodeInto(&CodecState, container.data(), (uint32_t)container.size(), buffer, sizeof buffer, &length),
              d.status) << index;
    ASSERT_EQ(length, d.length) << index;
    if (d.status == LzariOk) {
        ASSERT_EQ(Bytes(buffer, buffer + length), d.bytes) << index;
        bool v1 = container.size() >= 4 && memcmp(container.data(), "LzaR", 4) == 0;
        ASSERT_EQ(d.length, Le32At(container, container.size() - (v1 ? 12 : 4))) << index;
        ASSERT_EQ(d.isNull, d.length == 0) << index;
    } else {
        ASSERT_TRUE(d.isNull) << index;
        ASSERT_EQ(d.length, 0u) << index;
        ASSERT_EQ(d.version, -1) << index;
    }
}

class Damage : public ::testing::TestWithParam<bool> {
  protected:
    Bytes Container() const {
        const Bytes text = GeneratedText(1500, 40);
        return GetParam() ? EncodeVersion1(text, 0x12345678, 0x01D9ABCD) : Encode(text);
    }
};

TEST_P(Damage, EveryTruncationIsWholeOrNothing) {
    const Bytes full = Container();
    for (size_t n = 0; n < full.size(); n++) ExpectWholeOrNothing(Bytes(full.begin(), full.begin() + n), n);
}

TEST_P(Damage, EveryBitFlipIsWholeOrNothing) {
    const Bytes full = Container();
    for (size_t bit = 0; bit < full.size() * 8; bit++) {
        Bytes flipped = full;
        flipped[bit / 8] ^= (uint8_t)(0x80 >> (bit % 8));
        ExpectWholeOrNothing(flipped, bit);
    }
}

INSTANTIATE_TEST_SUITE_P(Codec, Damage, ::testing::Values(false, true),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Version1" : "Version0");
                         });

// The coded stream cut short, the true size field kept. Random bytes do not
// compress, so a cut stream still carries only about as many bytes as it
// keeps; the rest would have to come from the size field's 32 bits, and no
// bit yields more than 73 bytes. Every cut that drops more than that must
// run the reader out of the container: damaged, whatever size near the true
// one the field claims (so that no size can happen to end on a token the
// reader made up past the end).
TEST(CodecRobustness, CutStreamIsDamaged) {
    const Bytes full = Encode(RandomBytes(65536, 41));
    const size_t streamLength = full.size() - 8;
    for (size_t keep : {size_t{100}, streamLength / 2, streamLength - 4096}) {
        for (uint32_t size = 65536 - 60; size <= 65536; size++) {
            const Bytes cut = WithLe32(Bytes(full.begin(), full.begin() + 4 + keep), size);
            ExpectWholeOrNothing(cut, size);
            ASSERT_EQ(Decode(cut).status, LzariDamaged) << keep << " kept, size " << size;
        }
    }
}

struct SizeCase {
    uint32_t size;
    LzariStatus status;
};

class SizeField : public ::testing::TestWithParam<SizeCase> {};

// "abcabcabcabc" is three literals and one 9-byte match. A size field that
// ends inside the match would need the copy to run past the output area; one
// far beyond what the stream can yield is damage too.
TEST_P(SizeField, EndingInsideTheLastMatchOrBeyondTheStreamIsDamage) {
    Bytes container = Encode(AsBytes("abcabcabcabc"));
    container.resize(container.size() - 4);
    const Bytes sized = WithLe32(container, GetParam().size);
    ExpectWholeOrNothing(sized, GetParam().size);  // the stored size, or nothing and no version
    EXPECT_EQ(Decode(sized).status, GetParam().status);
}

INSTANTIATE_TEST_SUITE_P(Codec, SizeField,
                         ::testing::Values(SizeCase{1, LzariOk}, SizeCase{3, LzariOk},
                                           SizeCase{4, LzariDamaged}, SizeCase{11, LzariDamaged},
                                           SizeCase{12, LzariOk}, SizeCase{1u << 20, LzariDamaged},
                                           SizeCase{0xFFFFFFFFu, LzariDamaged}));

}  // namespace
