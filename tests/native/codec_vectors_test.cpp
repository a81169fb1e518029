// Known containers, and the literals and matches the encoder chooses.
#include <gtest/gtest.h>

#include "codec/lzari_internal.h"
#include "codec_test_support.h"

namespace {

const Bytes AbcContainer = {0x4C, 0x5A, 0x61, 0x72, 0xB0, 0xA8, 0xC2, 0x00, 0x03, 0x00, 0x00, 0x00};
const Bytes AbcX4Container = {0x4C, 0x5A, 0x61, 0x72, 0xB0, 0xA8, 0xC1,
                              0xE0, 0x0D, 0x70, 0x0C, 0x00, 0x00, 0x00};

struct VectorCase {
    const char* text;
    const Bytes* container;
};

class KnownContainer : public ::testing::TestWithParam<VectorCase> {};

TEST_P(KnownContainer, EncodesToTheKnownBytes) {
    EXPECT_EQ(Encode(AsBytes(GetParam().text)), *GetParam().container);
}

TEST_P(KnownContainer, DecodesToTheTextAsVersion0) {
    Decoded d = Decode(*GetParam().container);
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_EQ(d.bytes, AsBytes(GetParam().text));
    EXPECT_EQ(d.version, 0);
}

INSTANTIATE_TEST_SUITE_P(Codec, KnownContainer,
                         ::testing::Values(VectorCase{"abc", &AbcContainer},
                                           VectorCase{"abcabcabcabc", &AbcX4Container}));

// A literal is its byte; a match is {253 + length, distance - 1}.
struct Token {
    int ch;
    int position;
    bool operator==(const Token& o) const { return ch == o.ch && position == o.position; }
};

void PrintTo(const Token& t, std::ostream* os) { *os << "{" << t.ch << "," << t.position << "}"; }

// Replays the decoder symbol by symbol to see what the encoder sent.
std::vector<Token> TokensOf(const Bytes& container) {
    LzariState* state = new LzariState();
    std::vector<Token> tokens;
    if (LocateFields(state, container.data(), (uint32_t)container.size()) == LzariOk) {
        StartDecoder(state);
        uint32_t produced = 0;
        while (produced < state->textSize) {
            int ch = DecodeChar(state);
            int position = ch >= 256 ? DecodePosition(state) : -1;
            tokens.push_back({ch, position});
            produced += ch >= 256 ? ch - 253 : 1;
        }
    }
    delete state;
    return tokens;
}

struct TokenCase {
    const char* name;
    std::string text;
    std::vector<Token> tokens;
};

class EncoderChoice : public ::testing::TestWithParam<TokenCase> {};

TEST_P(EncoderChoice, SendsTheExpectedTokens) {
    EXPECT_EQ(TokensOf(Encode(AsBytes(GetParam().text))), GetParam().tokens);
}

const Token a{'a', -1}, b{'b', -1}, c{'c', -1};

INSTANTIATE_TEST_SUITE_P(
    Codec, EncoderChoice,
    ::testing::Values(
        TokenCase{"OneByte", "a", {a}},
        TokenCase{"TwoBytes", "ab", {a, b}},
        // The repeat "ab" at the end is cut to 2 bytes and so goes as literals.
        TokenCase{"ShortMatchAtTheEnd", "abcab", {a, b, c, a, b}},
        // A match 1 byte back is position 0, overlapping what it produces.
        TokenCase{"RunFromOneByteBack", "aaaa", {a, {256, 0}}},
        TokenCase{"OverlappingMatch", "abcabcabcabc", {a, b, c, {262, 2}}},
        // At the last "abcZ" the tree search meets "abcX" (8 back) and then
        // "abcY" (4 back), both 3 long: the nearer one wins.
        TokenCase{"NearestOfEqualMatches", "abcXabcYabcZ",
                  {a, b, c, {'X', -1}, {256, 3}, {'Y', -1}, {256, 3}, {'Z', -1}}},
        // Leading spaces match the spaces the ring starts with.
        TokenCase{"LeadingSpaces", "          x", {{263, 0}, {'x', -1}}},
        // The 60 candidates before the look-ahead all read 60 spaces here, so
        // each one inserted replaced the one before: only the one 60 back is left.
        TokenCase{"SixtySpacesThenMore", std::string(61, ' '), {{313, 59}, {' ', -1}}}),
    [](const ::testing::TestParamInfo<TokenCase>& info) { return std::string(info.param.name); });

}  // namespace
