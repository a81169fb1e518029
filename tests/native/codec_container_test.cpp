// The container's fixed parts: magic, size field and FILETIME.
#include <gtest/gtest.h>

#include "codec_test_support.h"

namespace {

Bytes Magic(const char* m) { return Bytes(m, m + 4); }

Bytes Version1(const Bytes& v0, uint32_t low, uint32_t high) {
    Bytes v1 = v0;
    v1[1] = 'z';
    v1[3] = 'R';
    return WithLe32(WithLe32(v1, low), high);
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
    ::testing::Values(
        EmptyCase{"Version0", WithLe32(Magic("LZar"), 0), 0, 0, 0},
        EmptyCase{"Version1", WithLe32(WithLe32(WithLe32(Magic("LzaR"), 0), 0xAABBCCDD), 0x01D00000),
                  1, 0xAABBCCDD, 0x01D00000},
        EmptyCase{"Version1WithUnreadStream",
                  WithLe32(WithLe32(WithLe32(AsBytes("LzaR\xFF\xFF"), 0), 5), 6), 1, 5, 6},
        EmptyCase{"CaselessMagic", WithLe32(Magic("lzar"), 0), -1, 0, 0}),
    [](const ::testing::TestParamInfo<EmptyCase>& info) { return std::string(info.param.name); });

struct ShortCase {
    const char* magic;
    uint32_t fixedParts;
};

class ShortContainer : public ::testing::TestWithParam<ShortCase> {};

// Exact-size copies: any read past the end is an ASan report.
TEST_P(ShortContainer, IsRejectedWithoutReadingOutside) {
    const Bytes full = WithLe32(WithLe32(WithLe32(Magic(GetParam().magic), 7), 8), 9);
    for (uint32_t n = 0; n < 16; n++) {
        Bytes container(full.begin(), full.begin() + n);
        Decoded d = Decode(container);
        EXPECT_TRUE(d.isNull) << n;
        EXPECT_EQ(d.length, 0u) << n;
        if (n < GetParam().fixedParts) {
            EXPECT_EQ(d.status, LzariTooShort) << n;
            EXPECT_EQ(d.version, -1) << n;
        } else {
            // Long enough, but the size read there is either more than 0 to 4
            // stream bytes can yield, or (at 12 bytes, size 8) the stream
            // 07 00 00 00 starts with a match longer than 8 bytes.
            EXPECT_EQ(d.status, LzariDamaged) << n;
        }
    }
}

INSTANTIATE_TEST_SUITE_P(Codec, ShortContainer,
                         ::testing::Values(ShortCase{"LZar", 8}, ShortCase{"LzaR", 16},
                                           ShortCase{"lZAr", 8}));

TEST(CodecContainer, ShortUnknownMagicIsTooShortOrBadMagic) {
    for (uint32_t n = 0; n < 16; n++) {
        Decoded d = Decode(Bytes(n, 'x'));
        EXPECT_EQ(d.status, n < 4 ? LzariTooShort : LzariBadMagic) << n;
        EXPECT_TRUE(d.isNull);
    }
}

class UnknownMagic : public ::testing::TestWithParam<const char*> {};

// After a version 1 container, nothing of it may be reported again.
TEST_P(UnknownMagic, IsRejectedWithNoStaleVersionOrFileTime) {
    const Bytes stream = Encode(AsBytes("abc"));
    ASSERT_EQ(Decode(Version1(stream, 11, 12)).version, 1);

    Bytes container = stream;
    memcpy(container.data(), GetParam(), 4);
    Decoded d = Decode(container);
    EXPECT_EQ(d.status, LzariBadMagic);
    EXPECT_TRUE(d.isNull);
    EXPECT_EQ(d.version, -1);
    EXPECT_EQ(d.fileTimeLow, 0u);
    EXPECT_EQ(d.fileTimeHigh, 0u);
}

INSTANTIATE_TEST_SUITE_P(Codec, UnknownMagic,
                         ::testing::Values("LZa\x12", "LZaq", "MZar", "\0Zar", "LZ@r", "LZa\xD2"));

class CaselessMagic : public ::testing::TestWithParam<const char*> {};

TEST_P(CaselessMagic, DecodesWithTheVersion0LayoutButNoVersion) {
    const Bytes text = AsBytes("abcabcabcabc");
    const Bytes stream = Encode(text);
    ASSERT_EQ(Decode(Version1(stream, 11, 12)).version, 1);

    Bytes container = stream;
    memcpy(container.data(), GetParam(), 4);
    Decoded d = Decode(container);
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_TRUE(d.bytes == text);
    EXPECT_EQ(d.version, -1);
    EXPECT_EQ(d.fileTimeLow, 0u);
    EXPECT_EQ(d.fileTimeHigh, 0u);
}

INSTANTIATE_TEST_SUITE_P(Codec, CaselessMagic,
                         ::testing::Values("lzar", "LZAR", "lZAr", "Lzar", "LzAR", "LZaR"));

// The decoder stops at the stored size, so what lies between the coded
// stream and the size field does not matter.
TEST(CodecContainer, BytesBeforeTheSizeFieldDoNotChangeTheResult) {
    const Bytes text = GeneratedText(3000, 30);
    const Bytes container = Encode(text);
    const Bytes stream(container.begin(), container.end() - 4);
    const Bytes fillers[] = {Bytes{0}, Bytes{0xFF}, Bytes(2, 0xFF), Bytes(7, 0x55),
                             RandomBytes(100, 31), Bytes(1000, 0xFF)};
    for (const Bytes& filler : fillers) {
        Bytes padded = stream;
        padded.insert(padded.end(), filler.begin(), filler.end());
        Decoded d = Decode(WithLe32(padded, (uint32_t)text.size()));
        EXPECT_EQ(d.status, LzariOk) << filler.size();
        EXPECT_TRUE(d.bytes == text) << filler.size();
    }
}

TEST(CodecContainer, Version1TrailersAreReadFromTheEnd) {
    const Bytes text = GeneratedText(500, 32);
    Decoded d = Decode(Version1(Encode(text), 0x04030201, 0x08070605));
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_TRUE(d.bytes == text);
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.fileTimeLow, 0x04030201u);
    EXPECT_EQ(d.fileTimeHigh, 0x08070605u);
}

// A size field far beyond what the stream can yield is damage.
TEST(CodecContainer, ImpossibleSizeIsDamaged) {
    const uint32_t sizes[] = {0xFFFFFFFFu, 0x80000000u, 1u << 20};
    for (uint32_t size : sizes) {
        Decoded d = Decode(WithLe32(Encode(AsBytes("abc")), size));
        EXPECT_EQ(d.status, LzariDamaged) << size;
        EXPECT_TRUE(d.isNull);
        EXPECT_EQ(d.version, -1);
    }
}

}  // namespace
