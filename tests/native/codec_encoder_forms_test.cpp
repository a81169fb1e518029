// Every form of the encoder writes the same container for the same input:
// into one buffer or to a sink, on one thread or with the match finder's
// trees kept by other threads.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>

#include "codec/threaded_encoder.h"
#include "tests/native/codec_test_support.h"

namespace {

// A space, a letter, a run of spaces, then a two-letter pattern: the
// positions before the first byte, all spaces, tie with one another.
Bytes SpacesThenPattern(size_t spaces, const std::string& pattern, size_t times) {
    std::string text = " x" + std::string(spaces, ' ');
    while (times-- > 0) text += pattern;
    return AsBytes(text);
}

// Random bytes ending in a copy of the 100 bytes 1000 before them. Past the
// end the match finder meets the ring's bytes from RingSize before, the first
// of which goes on with the copy: the last match found is one byte too long.
Bytes EndingInALongerCopy(size_t size) {
    Bytes bytes = RandomBytes(size, 41);
    for (size_t i = size - 100; i < size; i++) bytes[i] = bytes[i - 1000];
    bytes[size - RingSize] = bytes[size - 1000];
    return bytes;
}

using EncodeFunction = uint8_t* (*)(LzariState*, const uint8_t*, uint32_t, uint32_t*);

// The first tree thread keeps the trees of the first bytes with `bit` set
// (bit 8: every tree), settling positions in blocks of 1 << blockShift.
template <int bit, int blockShift>
uint8_t* EncodeSharedBy(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    TreeShare share;
    for (int c = 0; c < 256; c++) share.firstKeeps[c] = (c | 0x100) >> bit & 1;
    share.blockShift = blockShift;
    return LzariEncodeShared(state, data, size, &share, length);
}

struct Form {
    const char* name;
    EncodeFunction encode;
};

const Form Forms[] = {
    {"threaded", LzariEncodeThreaded},
    {"one tree thread, blocks of 256", EncodeSharedBy<8, 8>},
    {"odd and even first bytes, blocks of 1024", EncodeSharedBy<0, 10>},
    {"first bytes split by 0x02, blocks of 64 KiB", EncodeSharedBy<1, DefaultBlockShift>},
};

size_t FirstDifference(const Bytes& a, const Bytes& b) {
    return std::mismatch(a.begin(), a.end(), b.begin(), b.end()).first - a.begin();
}

struct FormsCase {
    const char* name;
    std::function<Bytes()> make;
};

void PrintTo(const FormsCase& c, std::ostream* out) { *out << c.name; }

class EncoderForms : public ::testing::TestWithParam<FormsCase> {};

TEST_P(EncoderForms, WriteTheSingleThreadedBytes) {
    const Bytes input = GetParam().make();
    const Bytes expected = Encode(input, std::unique_ptr<LzariState>(new LzariState()).get());
    ASSERT_FALSE(expected.empty());
    // The sink takes the same path in every form (RoundTrip checks the
    // single-threaded one): one threaded form is enough.
    const Bytes threadedToSink = EncodeToSink(LzariEncodeThreaded, input).bytes;
    EXPECT_TRUE(threadedToSink == expected) << "threaded to a sink, differs at "
                                            << FirstDifference(threadedToSink, expected);
    std::unique_ptr<LzariState> state(new LzariState());
    for (const Form& form : Forms) {
        uint32_t length = 0;
        uint8_t* data = form.encode(state.get(), input.data(), (uint32_t)input.size(), &length);
        const Bytes written = Take(data, length);
        EXPECT_TRUE(written == expected) << form.name << ", differs at " << FirstDifference(written, expected);
    }
}

const size_t OverOneMiB = (1 << 20) + 70000;

INSTANTIATE_TEST_SUITE_P(
    Codec, EncoderForms,
    ::testing::Values(
        FormsCase{"Empty", [] { return Bytes(); }},
        FormsCase{"OneByte", [] { return Bytes{7}; }},
        FormsCase{"ShorterThanTheLookAhead", [] { return SpacesThenPattern(20, "ab", 5); }},
        FormsCase{"SpacesThenPairs", [] { return SpacesThenPattern(70, "ab", 3000); }},
        FormsCase{"SpacesThenPairsOverOneMiB", [] { return SpacesThenPattern(70, "ab", 600000); }},
        FormsCase{"LongSpacesThenTriples", [] { return SpacesThenPattern(5000, "abc", 4000); }},
        FormsCase{"RunOfOneByte", [] { return Bytes(100000, 'A'); }},
        FormsCase{"TextOverOneMiB", [] { return GeneratedText(OverOneMiB, 31); }},
        FormsCase{"LongerCopyToABlockEnd", [] { return EndingInALongerCopy(1 << 16); }},
        FormsCase{"LongerCopyPastABlockEnd", [] { return EndingInALongerCopy((1 << 16) + 1); }},
        FormsCase{"LongerCopyBeforeABlockEnd", [] { return EndingInALongerCopy((1 << 16) - 1); }}),
    [](const ::testing::TestParamInfo<FormsCase>& info) { return std::string(info.param.name); });

}  // namespace
