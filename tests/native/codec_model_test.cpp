// The adaptive model of characters and the fixed model of positions.
#include <gtest/gtest.h>

#include <memory>

#include "codec/lzari_internal.h"
#include "codec_test_support.h"

namespace {

std::unique_ptr<LzariState> StartedModel() {
    std::unique_ptr<LzariState> state(new LzariState());
    StartModel(state.get());
    return state;
}

int Total(const LzariState& s) { return s.symbolCum[0]; }
int FreqOfChar(const LzariState& s, int ch) { return s.symbolFreq[s.symbolOfChar[ch]]; }

TEST(CodecModel, StartValues) {
    auto s = StartedModel();
    EXPECT_EQ(s->positionCum[0], 28568);
    EXPECT_EQ(s->positionCum[RingSize], 0);
    EXPECT_EQ(s->positionCum[0] - s->positionCum[1], 10000 / 201);     // 49
    EXPECT_EQ(s->positionCum[4095] - s->positionCum[4096], 10000 / 4296);  // 2
    EXPECT_EQ(Total(*s), 314);  // every character once
}

TEST(CodecModel, HalvesOnlyOnTheUpdateAfterTheTotalReachesTheLimit) {
    auto s = StartedModel();
    const int a = 'a', b = 'b';
    // 313 characters once and 'a' the rest of the way to 0x7FFE.
    const int updatesToLimit = 0x7FFE - 314;
    for (int i = 0; i < updatesToLimit; i++) UpdateModel(s.get(), s->symbolOfChar[a]);
    ASSERT_EQ(Total(*s), 0x7FFE);

    UpdateModel(s.get(), s->symbolOfChar[a]);
    EXPECT_EQ(Total(*s), 0x7FFF);
    EXPECT_EQ(FreqOfChar(*s, a), 1 + updatesToLimit + 1);

    UpdateModel(s.get(), s->symbolOfChar[b]);
    const int halvedA = (1 + updatesToLimit + 1 + 1) / 2;
    EXPECT_EQ(FreqOfChar(*s, a), halvedA);
    EXPECT_EQ(FreqOfChar(*s, b), 1 + 1);  // halved from 1 to 1, then counted
    EXPECT_EQ(FreqOfChar(*s, 'c'), 1);
    EXPECT_EQ(Total(*s), halvedA + 313 + 1);
}

TEST(CodecModel, CountedCharacterMovesToTheFrontOfItsRun) {
    auto s = StartedModel();
    UpdateModel(s.get(), s->symbolOfChar[200]);
    EXPECT_EQ(s->symbolOfChar[200], 1);
    EXPECT_EQ(s->symbolOfChar[0], 201);  // took 200's old rank
    UpdateModel(s.get(), s->symbolOfChar[7]);
    EXPECT_EQ(s->symbolOfChar[7], 2);  // ahead of the frequency-1 run, behind 200
}

// Whatever is counted, the tables stay consistent with one another.
TEST(CodecModel, KeepsItsInvariantsOverManyHalvings) {
    auto s = StartedModel();
    Bytes picks = RandomBytes(200000, 7);
    for (size_t n = 0; n < picks.size(); n++) {
        int ch = picks[n] < 128 ? picks[n] % 4 : (picks[n] * 131 + (int)n) % SymbolCount;
        UpdateModel(s.get(), s->symbolOfChar[ch]);
        if (n % 4999 != 0) continue;
        ASSERT_LE(Total(*s), MaxCum);
        ASSERT_EQ(s->symbolFreq[0], 0);
        ASSERT_EQ(s->symbolCum[SymbolCount], 0);
        for (int r = 1; r <= SymbolCount; r++) {
            ASSERT_GE(s->symbolFreq[r], 1);
            if (r > 1) ASSERT_LE(s->symbolFreq[r], s->symbolFreq[r - 1]);
            ASSERT_EQ(s->symbolCum[r - 1], s->symbolCum[r] + s->symbolFreq[r]);
            ASSERT_EQ(s->symbolOfChar[s->charOfSymbol[r]], r);
        }
    }
}

}  // namespace
