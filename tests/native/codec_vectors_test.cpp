// Known containers, and the literals and matches the encoder chooses.
#include <gtest/gtest.h>

#include <memory>

#include "codec/decode_steps.h"
#include "tests/native/codec_test_support.h"

namespace {

// A literal is its byte and position -1; a match is {253 + length, distance - 1}.
using Token = std::pair<int, int>;

// Replays the decoder's steps symbol by symbol to see what the encoder sent.
std::vector<Token> TokensOf(const Bytes& container) {
    std::unique_ptr<LzariState> state(new LzariState());
    std::vector<Token> tokens;
    if (LocateFields(state.get(), container.data(), (uint32_t)container.size()) != LzariOk) return tokens;
    StartDecoder(state.get());
    Reader r = LoadReader(state.get());
    CumTable cum;
    LoadCumTable(state.get(), &cum);
    for (uint32_t produced = 0; produced < state->textSize;) {
        int ch = NextChar(state.get(), &cum, r);
        tokens.push_back({ch, ch >= 256 ? NextPosition(state.get(), r) : -1});
        produced += ch >= 256 ? ch - 253 : 1;
    }
    return tokens;
}

struct VectorCase {
    const char* name;
    std::string text;
    std::vector<Token> tokens;
    Bytes container;  // the known container, when there is one
};

class EncoderChoice : public ::testing::TestWithParam<VectorCase> {};

TEST_P(EncoderChoice, SendsTheExpectedTokensAndKnownBytes) {
    const VectorCase& c = GetParam();
    const Bytes encoded = Encode(AsBytes(c.text));
    EXPECT_EQ(TokensOf(encoded), c.tokens);
    if (c.container.empty()) return;
    EXPECT_EQ(encoded, c.container);
    Decoded d = Decode(c.container);
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_EQ(d.bytes, AsBytes(c.text));
    EXPECT_EQ(d.version, 0);
}

const Token a{'a', -1}, b{'b', -1}, c{'c', -1};

INSTANTIATE_TEST_SUITE_P(
    Codec, EncoderChoice,
    ::testing::Values(
        VectorCase{"KnownAbc", "abc", {a, b, c},
                   {0x4C, 0x5A, 0x61, 0x72, 0xB0, 0xA8, 0xC2, 0x00, 0x03, 0x00, 0x00, 0x00}},
        // A match may overlap the bytes it produces.
        VectorCase{"KnownAbcFourTimes", "abcabcabcabc", {a, b, c, {262, 2}},
                   {0x4C, 0x5A, 0x61, 0x72, 0xB0, 0xA8, 0xC1, 0xE0, 0x0D, 0x70, 0x0C, 0x00, 0x00, 0x00}},
        // The repeat "ab" at the end is cut to 2 bytes and so goes as literals.
        VectorCase{"ShortMatchAtTheEnd", "abcab", {a, b, c, a, b}, {}},
        // Here the tree finds "ab\0" against the zeros past the input: cut to 2, still literals.
        VectorCase{"MatchCutToTwoAtTheEnd", std::string("ab\0ab", 5), {a, b, {0, -1}, a, b}, {}},
        // At the last "abcZ" the tree search meets "abcX" (8 back) and then
        // "abcY" (4 back), both 3 long: the nearer one wins.
        VectorCase{"NearestOfEqualMatches", "abcXabcYabcZ",
                   {a, b, c, {'X', -1}, {256, 3}, {'Y', -1}, {256, 3}, {'Z', -1}}, {}},
        // Leading spaces match the spaces the ring starts with.
        VectorCase{"LeadingSpaces", "          x", {{263, 0}, {'x', -1}}, {}},
        // The 60 candidates before the look-ahead all read 60 spaces here, so
        // each one inserted replaced the one before: only the one 60 back is left.
        VectorCase{"SixtySpacesThenMore", std::string(61, ' '), {{313, 59}, {' ', -1}}, {}}),
    [](const ::testing::TestParamInfo<VectorCase>& info) { return std::string(info.param.name); });

}  // namespace
