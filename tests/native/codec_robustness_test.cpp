// Damaged containers: never a read outside the container, never a write
// past the stored size, never a half-trusted result.
#include <gtest/gtest.h>

#include "codec_test_support.h"

namespace {

Bytes Version1Of(const Bytes& v0) {
    Buffer v1;
    v1.data = MakeVersion1Container(v0.data(), (uint32_t)v0.size(), 0x12345678, 0x01D9ABCD,
                                    &v1.length);
    return v1.bytes();
}

// The size field a decoder must use for these bytes, worked out from the
// layout alone.
uint32_t SizeFieldOf(const Bytes& c) {
    bool v1 = c.size() >= 4 && memcmp(c.data(), "LzaR", 4) == 0;
    return Le32At(c, c.size() - (v1 ? 12 : 4));
}

// The only two acceptable outcomes for any input.
void ExpectWholeOrNothing(const Bytes& container, const char* what, size_t index) {
    Decoded d = Decode(container);
    if (d.status == LzariOk) {
        ASSERT_EQ(d.length, SizeFieldOf(container)) << what << " " << index;
        ASSERT_EQ(d.isNull, d.length == 0) << what << " " << index;
    } else {
        ASSERT_TRUE(d.isNull) << what << " " << index;
        ASSERT_EQ(d.length, 0u) << what << " " << index;
        ASSERT_EQ(d.version, -1) << what << " " << index;
    }
}

struct DamageCase {
    const char* name;
    bool version1;
};

class Damage : public ::testing::TestWithParam<DamageCase> {
  protected:
    Bytes Container() const {
        Bytes v0 = Encode(GeneratedText(1500, 40));
        return GetParam().version1 ? Version1Of(v0) : v0;
    }
};

TEST_P(Damage, EveryTruncationIsWholeOrNothing) {
    const Bytes full = Container();
    for (size_t n = 0; n < full.size(); n++) {
        ExpectWholeOrNothing(Bytes(full.begin(), full.begin() + n), "length", n);
    }
}

TEST_P(Damage, EveryBitFlipIsWholeOrNothing) {
    const Bytes full = Container();
    for (size_t bit = 0; bit < full.size() * 8; bit++) {
        Bytes flipped = full;
        flipped[bit / 8] ^= (uint8_t)(0x80 >> (bit % 8));
        ExpectWholeOrNothing(flipped, "bit", bit);
    }
}

INSTANTIATE_TEST_SUITE_P(Codec, Damage,
                         ::testing::Values(DamageCase{"Version0", false}, DamageCase{"Version1", true}),
                         [](const ::testing::TestParamInfo<DamageCase>& info) {
                             return std::string(info.param.name);
                         });

// The coded stream cut short, the true size field kept. Random bytes do not
// compress, so a cut stream still carries only about as many bytes as it
// keeps; the rest would have to come from the size field's 32 bits, and no
// bit yields more than 73 bytes. Every cut that drops more than that must
// run the reader out of the container: damaged.
TEST(CodecRobustness, CutStreamIsDamaged) {
    const Bytes input = RandomBytes(65536, 41);
    const Bytes full = Encode(input);
    const size_t streamLength = full.size() - 8;
    const size_t keeps[] = {0, 1, 2, 100, streamLength / 2, streamLength - 4096};
    for (size_t keep : keeps) {
        Bytes cut(full.begin(), full.begin() + 4 + keep);
        Decoded d = Decode(WithLe32(cut, (uint32_t)input.size()));
        EXPECT_EQ(d.status, LzariDamaged) << keep;
        EXPECT_TRUE(d.isNull) << keep;
    }
}

struct OverrunCase {
    uint32_t size;
    LzariStatus status;
};

class MatchOverrun : public ::testing::TestWithParam<OverrunCase> {};

// "abcabcabcabc" is three literals and one 9-byte match. A size field that
// ends inside the match would need the copy to run past the output area.
TEST_P(MatchOverrun, EndsInsideTheLastMatchAsDamage) {
    Bytes container = Encode(AsBytes("abcabcabcabc"));
    container.resize(container.size() - 4);
    Decoded d = Decode(WithLe32(container, GetParam().size));
    EXPECT_EQ(d.status, GetParam().status);
    EXPECT_EQ(d.length, GetParam().status == LzariOk ? GetParam().size : 0u);
}

INSTANTIATE_TEST_SUITE_P(Codec, MatchOverrun,
                         ::testing::Values(OverrunCase{1, LzariOk}, OverrunCase{3, LzariOk},
                                           OverrunCase{4, LzariDamaged}, OverrunCase{8, LzariDamaged},
                                           OverrunCase{11, LzariDamaged}, OverrunCase{12, LzariOk}));

}  // namespace
