// Whatever the encoder writes, the decoder gives back unchanged.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "tests/native/codec_test_support.h"

namespace {

Bytes ReadFilePrefix(const char* path, size_t limit) {
    Bytes out(limit);
    FILE* f = fopen(path, "rb");
    out.resize(f ? fread(out.data(), 1, limit, f) : 0);
    if (f) fclose(f);
    return out;
}

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> make;
};

class RoundTrip : public ::testing::TestWithParam<RoundTripCase> {};

TEST_P(RoundTrip, DecodesToTheInput) {
    Bytes input = GetParam().make();
    Bytes container = Encode(input);
    ASSERT_GE(container.size(), 8u);
    EXPECT_EQ(Le32At(container, container.size() - 4), input.size());

    Decoded d = Decode(container);
    ASSERT_EQ(d.status, LzariOk);
    EXPECT_EQ(d.version, 0);
    EXPECT_EQ(d.length, input.size());
    EXPECT_TRUE(d.bytes == input);
    // The reader runs at most 2 bytes past the coded stream into the size
    // field, and knows where the stream ended.
    EXPECT_LE(d.inputPos, container.size() - 4 + 2);
    if (!input.empty()) { EXPECT_EQ(d.codedEnd, container.size() - 4); }

    // Streamed both ways, in pieces of at most 1 MiB, to the same bytes.
    const Pieces encoded = EncodeToSink(LzariEncodeWith, input);
    EXPECT_TRUE(encoded.bytes == container);
    EXPECT_LE(encoded.largest, 1u << 20);
    Pieces pieces;
    Decoded s = DecodeStreamed(container, std::unique_ptr<LzariState>(new LzariState()).get(), &pieces);
    EXPECT_EQ(std::make_pair(s.status, s.codedEnd), std::make_pair(LzariOk, d.codedEnd));
    EXPECT_TRUE(pieces.bytes == input);
    EXPECT_LE(pieces.largest, 1u << 20);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, RoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", [] { return Bytes(); }},
        RoundTripCase{"OneByte", [] { return Bytes{0x00}; }},
        RoundTripCase{"TwoBytes", [] { return Bytes{0xFF, 0x20}; }},
        RoundTripCase{"TextLongerThanTheRing", [] { return GeneratedText(300000, 1); }},
        RoundTripCase{"SystemBinary", [] { return ReadFilePrefix("/bin/ls", 1 << 20); }},
        RoundTripCase{"RandomBytes", [] { return RandomBytes(3 << 20, 2); }},
        RoundTripCase{"LongRunOfSpaces",
                      [] { return Concat(Bytes(10000, ' '), GeneratedText(5000, 3)); }},
        RoundTripCase{"TextOverTwoOutputPieces", [] { return GeneratedText((2 << 20) + RingSize - 1, 3); }}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

// A state that has coded one file must code the next exactly as a fresh one:
// nothing of the earlier ring, tree or model may leak into it.
TEST(CodecRoundTrip, ReusedStateMatchesFreshState) {
    const Bytes earlier = RandomBytes(9000, 10);
    std::unique_ptr<LzariState> reused(new LzariState());
    for (const Bytes& later : {Bytes(), AsBytes("abcab"), RandomBytes(5000, 12)}) {
        std::unique_ptr<LzariState> fresh(new LzariState());
        Bytes expected = Encode(later, fresh.get());
        Encode(earlier, reused.get());
        EXPECT_EQ(Encode(later, reused.get()), expected) << later.size() << " bytes";

        Decode(Encode(earlier), reused.get());
        Decoded d = Decode(expected, reused.get());
        EXPECT_EQ(d.status, LzariOk);
        EXPECT_TRUE(d.bytes == later);
    }
}

}  // namespace
