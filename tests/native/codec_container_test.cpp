// The container's fixed parts: magic, size field and FILETIME, as the
// decoder finds them, as the description reads them and as the version 1
// writer writes them.
#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>

#include "tests/native/codec_test_support.h"

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
    ASSERT_EQ(Decode(EncodeVersion1(text, 11, 12)).version, 1);

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

struct DescribeCase {
    const char* name;
    Bytes container;
    LzariStatus status;
    LzariMagic magic;
    int32_t version;
    uint32_t decodedSize, fileTimeLow, fileTimeHigh, streamEnd;
};

class Description : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(Description, ReadsTheFixedPartsOrSaysWhyNot) {
    const DescribeCase& c = GetParam();
    const Bytes copy = c.container;  // exactly its size on the heap, so that ASan sees any read past it
    LzariContainer d;
    memset(&d, 0x5A, sizeof d);
    EXPECT_EQ(LzariDescribeContainer(copy.data(), (uint32_t)copy.size(), &d), c.status);
    EXPECT_EQ(d.magic, c.magic);
    EXPECT_EQ(std::make_tuple(d.version, d.decodedSize, d.fileTimeLow, d.fileTimeHigh, d.streamEnd),
              std::make_tuple(c.version, c.decodedSize, c.fileTimeLow, c.fileTimeHigh, c.streamEnd));
}

INSTANTIATE_TEST_SUITE_P(
    Codec, Description,
    ::testing::Values(
        DescribeCase{"Nothing", {}, LzariTooShort, LzariMagicNone, -1, 0, 0, 0, 0},
        DescribeCase{"ThreeBytes", {'L', 'Z', 'a'}, LzariTooShort, LzariMagicNone, -1, 0, 0, 0, 0},
        DescribeCase{"Version0MagicAlone", Fields("LZar", {}), LzariTooShort, LzariMagicVersion0, -1, 0, 0, 0, 0},
        DescribeCase{"CaselessMagicAlone", Fields("lzAR", {}), LzariTooShort, LzariMagicCaseless, -1, 0, 0, 0, 0},
        DescribeCase{"Version1WithoutItsTime", Fields("LzaR", {1, 2}), LzariTooShort, LzariMagicVersion1, -1, 0, 0,
                     0, 0},
        DescribeCase{"OtherMagic", Fields("LZa\xD2", {5}), LzariBadMagic, LzariMagicNone, -1, 0, 0, 0, 0},
        DescribeCase{"Version0", Fields("LZar", {0xAABBCCDD, 7}), LzariOk, LzariMagicVersion0, 0, 7, 0, 0, 8},
        DescribeCase{"Version1", Fields("LzaR", {0xAABBCCDD, 7, 0x89ABCDEF, 0x01D2A3B4}), LzariOk,
                     LzariMagicVersion1, 1, 7, 0x89ABCDEF, 0x01D2A3B4, 8},
        DescribeCase{"CaselessMagicHasTheVersion0Layout", Fields("lzar", {9, 9, 7}), LzariOk, LzariMagicCaseless, -1,
                     7, 0, 0, 12}),
    [](const ::testing::TestParamInfo<DescribeCase>& info) { return std::string(info.param.name); });

// Version 1 is version 0 with two letters of the magic in the other case and
// the FILETIME appended, however the writer is handed the encoder's output:
// whole, or in pieces of any size with the magic split among them.
TEST(Version1Writer, WritesVersion0WithTheOtherMagicAndTheTimeWhateverThePieces) {
    const Bytes input = GeneratedText(3000, 21);
    const Bytes v0 = Encode(input);
    Bytes expected = WithLe32(WithLe32(v0, 0x89ABCDEF), 0x01D2A3B4);
    expected[1] = 'z';
    expected[3] = 'R';
    ASSERT_TRUE(EncodeVersion1(input, 0x89ABCDEF, 0x01D2A3B4) == expected);
    for (size_t piece : {1, 2, 3, 5, 4096}) {
        std::unique_ptr<LzariState> state(new LzariState());
        Pieces pieces;
        LzariVersion1Writer writer = {Pieces::Take, &pieces, 0x89ABCDEF, 0x01D2A3B4, 0};
        LzariStartVersion1(state.get(), &writer);
        for (size_t at = 0; at < v0.size(); at += piece)
            state->sink(state->sinkContext, v0.data() + at, (uint32_t)std::min(piece, v0.size() - at));
        LzariFinishVersion1(&writer);
        EXPECT_TRUE(pieces.bytes == expected) << piece;
    }
    Decoded d = Decode(expected);
    EXPECT_EQ(std::make_tuple(d.status, d.version, d.fileTimeLow, d.fileTimeHigh),
              std::make_tuple(LzariOk, 1, 0x89ABCDEFu, 0x01D2A3B4u));
    EXPECT_TRUE(d.bytes == input);
}

}  // namespace
