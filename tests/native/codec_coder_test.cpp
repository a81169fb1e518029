// The adaptive model: its halving point, shared by encoder and decoder so
// that a round trip cannot notice it going wrong, and its fast searches,
// held against a plain scan of the tables they search.
#include <gtest/gtest.h>

#include <memory>

#include "codec/model.h"
#include "tests/native/codec_test_support.h"

namespace {

int FreqOfChar(const LzariState& s, int ch) { return s.symbolFreq[s.symbolOfChar[ch]]; }

// One occurrence of the symbol at `rank`, as a coding step counts it.
void Count(LzariState* s, int rank) {
    CumTable cum;
    LoadCumTable(s, &cum);
    CountSymbol(s, &cum, rank);
    StoreCumTable(s, cum);
}

TEST(CodecModel, HalvesOnlyOnTheUpdateAfterTheTotalReachesTheLimit) {
    std::unique_ptr<LzariState> s(new LzariState());
    StartModel(s.get());
    ASSERT_EQ(s->symbolCum[0], 314);  // every character once
    // 313 characters once and 'a' the rest of the way to 0x7FFF.
    const int aCount = 0x7FFF - 313;
    for (int i = 1; i < aCount; i++) Count(s.get(), s->symbolOfChar['a']);
    EXPECT_EQ(s->symbolCum[0], 0x7FFF);
    EXPECT_EQ(FreqOfChar(*s, 'a'), aCount);

    Count(s.get(), s->symbolOfChar['b']);
    EXPECT_EQ(FreqOfChar(*s, 'a'), (aCount + 1) / 2);
    EXPECT_EQ(FreqOfChar(*s, 'b'), 2);  // halved from 1 to 1, then counted
    EXPECT_EQ(FreqOfChar(*s, 'c'), 1);
    EXPECT_EQ(s->symbolCum[0], (aCount + 1) / 2 + 313 + 1);
}

// The rank s with symbolCum[s - 1] > x >= symbolCum[s], by a plain scan.
int SymbolByScan(const LzariState& s, uint32_t x) {
    int rank = 1;
    while (s.symbolCum[rank] > x) rank++;
    return rank;
}

// The position p with positionCum[p] > x >= positionCum[p + 1], by a plain scan.
int PositionByScan(const LzariState& s, uint32_t x) {
    int p = 0;
    while (s.positionCum[p + 1] > x) p++;
    return p;
}

struct ModelCase {
    const char* name;
    Bytes counted;  // characters counted into a fresh model
};

class ModelSearch : public ::testing::TestWithParam<ModelCase> {};

// Every value below the total, in models whose counts have runs of equal
// frequencies, block edges and halvings in them.
TEST_P(ModelSearch, FindsWhatAPlainScanFinds) {
    std::unique_ptr<LzariState> s(new LzariState());
    StartModel(s.get());
    for (uint8_t ch : GetParam().counted) Count(s.get(), s->symbolOfChar[ch]);
    CumTable cum;
    LoadCumTable(s.get(), &cum);
    for (uint32_t x = 0; x < s->symbolCum[0]; x++) ASSERT_EQ(SymbolAt(cum, x), SymbolByScan(*s, x)) << x;
    for (uint32_t x = 0; x < PositionTotal; x++) ASSERT_EQ(PositionAt(s.get(), x), PositionByScan(*s, x)) << x;
}

INSTANTIATE_TEST_SUITE_P(
    Codec, ModelSearch,
    ::testing::Values(ModelCase{"Fresh", {}}, ModelCase{"Text", GeneratedText(5000, 4)},
                      ModelCase{"HalvedOften", Concat(Bytes(70000, 'e'), RandomBytes(40000, 5))},
                      ModelCase{"RandomBytes", RandomBytes(600, 6)}),
    [](const ::testing::TestParamInfo<ModelCase>& info) { return std::string(info.param.name); });

// The shares the coders narrow to, against the division they stand for:
// every count of totals from the least the model holds to its limit, in the
// narrowest and widest intervals. Quotients landing exactly on an integer
// are the first to go wrong when a reciprocal is rounded the wrong way.
TEST(CodecDivisor, SharesAreTheRoundedDownQuotient) {
    const uint32_t totals[] = {SymbolCount, SymbolCount + 1, 1024, 4099, 0x4000, MaxCum - 1, MaxCum, MaxCum + 1};
    const uint32_t ranges[] = {Quarter + 1, Quarter + 3, Half, ThreeQuarters - 1, Top - 1, Top};
    for (uint32_t total : totals) {
        Divisor divisor(total);
        for (uint32_t range : ranges) {
            for (uint32_t count = 0; count <= total; count++) {
                ASSERT_EQ(divisor.Share(range, count), range * count / total) << total << " " << range << " " << count;
            }
        }
    }
}

}  // namespace
