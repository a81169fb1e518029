// Whatever the encoder writes, the decoder gives back unchanged.
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <thread>

#include "codec_test_support.h"

namespace {

struct RoundTripCase {
    const char* name;
    std::function<Bytes()> make;
};

Bytes Concat(Bytes a, const Bytes& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}

// Each byte is 'e' half of the time: many literals of one character, so
// the symbol total reaches the halving point over and over.
Bytes SkewedBytes(size_t count) {
    Bytes out = RandomBytes(count, 99);
    for (size_t i = 0; i < count; i++) {
        if (out[i] & 1) out[i] = 'e';
    }
    return out;
}

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
    // field; an empty file is never read at all.
    if (!input.empty()) EXPECT_LE(d.inputPos, container.size() - 4 + 2);
}

INSTANTIATE_TEST_SUITE_P(
    Codec, RoundTrip,
    ::testing::Values(
        RoundTripCase{"Empty", [] { return Bytes(); }},
        RoundTripCase{"OneByte", [] { return Bytes{0x00}; }},
        RoundTripCase{"TwoBytes", [] { return Bytes{0xFF, 0x20}; }},
        RoundTripCase{"Text", [] { return GeneratedText(300000, 1); }},
        RoundTripCase{"SystemBinary", [] { return ReadFilePrefix("/bin/ls", 1 << 20); }},
        RoundTripCase{"RandomBytes", [] { return RandomBytes(3 << 20, 2); }},
        RoundTripCase{"LeadingSpaces",
                      [] { return Concat(Bytes(10000, ' '), GeneratedText(5000, 3)); }},
        RoundTripCase{"OneByteRepeated", [] { return Bytes(1 << 20, 'z'); }},
        RoundTripCase{"ZerosThenSpaces", [] { return Concat(Bytes(5000, 0), Bytes(5000, ' ')); }},
        RoundTripCase{"RingWrapsManyTimes", [] { return GeneratedText(2 << 20, 4); }},
        RoundTripCase{"SymbolTotalHalvesOften", [] { return SkewedBytes(1 << 20); }},
        RoundTripCase{"TextAfterRandom",
                      [] { return Concat(RandomBytes(70000, 5), GeneratedText(70000, 6)); }}),
    [](const ::testing::TestParamInfo<RoundTripCase>& info) { return std::string(info.param.name); });

TEST(CodecRoundTrip, EncodingIsDeterministic) {
    Bytes input = GeneratedText(100000, 8);
    EXPECT_EQ(Encode(input), Encode(input));
}

// Version 1 is version 0 with two letters of the magic respelled and the
// FILETIME appended.
TEST(CodecRoundTrip, Version1DiffersFromVersion0OnlyInMagicAndTrailer) {
    Bytes input = GeneratedText(20000, 9);
    Bytes v0 = Encode(input);
    Buffer v1;
    v1.data = MakeVersion1Container(v0.data(), (uint32_t)v0.size(), 0x89ABCDEF, 0x01D2A3B4,
                                    &v1.length);
    Bytes v1Bytes = v1.bytes();
    ASSERT_EQ(v1Bytes.size(), v0.size() + 8);
    for (size_t i = 0; i < v0.size(); i++) {
        if (i == 1 || i == 3) {
            EXPECT_EQ(v1Bytes[i], v0[i] ^ 0x20) << i;  // the other letter case
        } else {
            ASSERT_EQ(v1Bytes[i], v0[i]) << i;
        }
    }
    EXPECT_EQ(Le32At(v1Bytes, v0.size()), 0x89ABCDEFu);
    EXPECT_EQ(Le32At(v1Bytes, v0.size() + 4), 0x01D2A3B4u);

    Decoded d = Decode(v1Bytes);
    EXPECT_EQ(d.status, LzariOk);
    EXPECT_TRUE(d.bytes == input);
    EXPECT_EQ(d.version, 1);
    EXPECT_EQ(d.fileTimeLow, 0x89ABCDEFu);
    EXPECT_EQ(d.fileTimeHigh, 0x01D2A3B4u);
}

TEST(CodecRoundTrip, Version1IsMadeOnlyFromVersion0) {
    Bytes v0 = Encode(AsBytes("abc"));
    Buffer v1;
    v1.data = MakeVersion1Container(v0.data(), (uint32_t)v0.size(), 1, 2, &v1.length);
    Bytes v1Bytes = v1.bytes();
    const Bytes notVersion0[] = {v1Bytes, Bytes{'L', 'Z', 'a', 'r', 0, 0, 0}, AsBytes("lzar\0\0\0\0")};
    for (const Bytes& input : notVersion0) {
        Buffer out;
        out.data = MakeVersion1Container(input.data(), (uint32_t)input.size(), 1, 2, &out.length);
        EXPECT_EQ(out.data, nullptr);
        EXPECT_EQ(out.length, 0u);
    }
}

// A state that has coded one file must code the next exactly as a fresh one:
// nothing of the earlier ring, tree or model may leak into it.
TEST(CodecRoundTrip, ReusedStateMatchesFreshState) {
    const Bytes earlier = RandomBytes(9000, 10);
    const Bytes laterInputs[] = {Bytes(), AsBytes("ab"), AsBytes("abcab"), GeneratedText(300, 11),
                                 RandomBytes(5000, 12)};
    std::unique_ptr<LzariState> reused(new LzariState());
    for (const Bytes& later : laterInputs) {
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

TEST(CodecRoundTrip, SeparateStatesEncodeInParallelAsInSeries) {
    const int threads = 4;
    std::vector<Bytes> inputs, serial(threads), parallel(threads);
    for (int t = 0; t < threads; t++) {
        inputs.push_back(t % 2 ? RandomBytes(200000, 20 + t) : GeneratedText(400000, 20 + t));
        std::unique_ptr<LzariState> state(new LzariState());
        serial[t] = Encode(inputs[t], state.get());
    }
    std::vector<std::thread> workers;
    for (int t = 0; t < threads; t++) {
        workers.emplace_back([&, t] {
            std::unique_ptr<LzariState> state(new LzariState());
            parallel[t] = Encode(inputs[t], state.get());
        });
    }
    for (auto& w : workers) w.join();
    for (int t = 0; t < threads; t++) EXPECT_TRUE(parallel[t] == serial[t]) << t;
}

}  // namespace
