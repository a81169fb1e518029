// The container's fixed parts: magic, size field and FILETIME.
#include <gtest/gtest.h>

#include "codec_test_support.h"

namespace {

Bytes Fields(const char* magic, std::vector<uint32_t> values) {
    Bytes out(magic, magic + 4);
    for (uint32_t v : values) out = WithLe32(out, v);
    return out;
}

struct EmptyCase {
    const char* name;
    Bytes container;
    int32_t version;
    uint32_t fileTimeLow, fileTimeHigh;
};

class EmptyFile : public ::testing::TestWithParam<EmptyCase> {};

// Size 0 with no coded stream at all: nothing past the trailers may be read.
TEST_P(EmptyFile, GivesNoBufferAndItsVersion) {
    Decoded d = Decode(GetParam().container);
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_TRUE(d.isNull);
    EXPECT_EQ(d.length, 0u);
    EXPECT_EQ(d.version, GetParam().version);
    EXPECT_EQ(d.fileTimeLow, GetParam().fileTimeLow);
    EXPECT_EQ(d.fileTimeHigh, GetParam().fileTimeHigh);
    EXPECT_EQ(d.inputPos, 4u);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, EmptyFile,
    ::testing::Values(EmptyCase{"Version0", Fields("LZar", {0}), 0, 0, 0},
                      EmptyCase{"Version1WithUnreadStream",
                                Fields("LzaR", {0xFFFFFFFF, 0, 0xAABBCCDD, 0x01D00000}), 1,
                                0xAABBCCDD, 0x01D00000},
                      EmptyCase{"CaselessMagic", Fields("lzar", {0}), -1, 0, 0}),
    [](const ::testing::TestParamInfo<EmptyCase>& info) { return std::string(info.param.name); });

struct ShortCase {
    const char* magic;
    uint32_t fixedParts;  // shorter than this is too short
    LzariStatus longEnough;
};

class ShortContainer : public ::testing::TestWithParam<ShortCase> {};

// Up to 15 bytes of a container with size field 7: either too short, or long
// enough but the size is more than 0 to 4 stream bytes can yield (at 12
// bytes, size 8, the stream 07 00 00 00 starts with a match longer than 8).
TEST_P(ShortContainer, IsRejected) {
    const Bytes full = Fields(GetParam().magic, {7, 8, 9});
    for (uint32_t n = 0; n < 16; n++) {
        Decoded d = Decode(Bytes(full.begin(), full.begin() + n));
        EXPECT_TRUE(d.isNull) << n;
        EXPECT_EQ(d.length, 0u) << n;
        EXPECT_EQ(d.version, -1) << n;
        EXPECT_EQ(d.status, n < GetParam().fixedParts ? LzariTooShort : GetParam().longEnough) << n;
    }
}

INSTANTIATE_TEST_SUITE_P(Codec, ShortContainer,
                         ::testing::Values(ShortCase{"LZar", 8, LzariDamaged},
                                           ShortCase{"LzaR", 16, LzariDamaged},
                                           ShortCase{"lZAr", 8, LzariDamaged},
                                           ShortCase{"xxxx", 4, LzariBadMagic}));

struct MagicCase {
    const char* magic;
    LzariStatus status;
};

class Magic : public ::testing::TestWithParam<MagicCase> {};

// Only "LZar" and "LzaR" carry a version; other spellings of it decode with
// the version 0 layout and no version. After a version 1 container nothing
// of it may be reported again.
TEST_P(Magic, DecidesTheOutcomeWithNoStaleVersion) {
    const Bytes text = AsBytes("abcabcabcabc");
    Bytes container = Encode(text);
    ASSERT_EQ(Decode(Version1Of(container, 11, 12)).version, 1);

    memcpy(container.data(), GetParam().magic, 4);
    Decoded d = Decode(container);
    EXPECT_EQ(d.status, GetParam().status);
    EXPECT_EQ(d.bytes, GetParam().status == LzariOk ? text : Bytes());
    EXPECT_EQ(d.version, -1);
    EXPECT_EQ(d.fileTimeLow, 0u);
    EXPECT_EQ(d.fileTimeHigh, 0u);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, Magic,
    ::testing::Values(MagicCase{"lzar", LzariOk}, MagicCase{"LZAR", LzariOk}, MagicCase{"LZaR", LzariOk},
                      MagicCase{"LzAR", LzariOk}, MagicCase{"LZa\x12", LzariBadMagic},
                      MagicCase{"MZar", LzariBadMagic}, MagicCase{"\0Zar", LzariBadMagic},
                      MagicCase{"LZ@r", LzariBadMagic}, MagicCase{"LZa\xD2", LzariBadMagic}));

}  // namespace
