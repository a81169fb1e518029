// The model's lookups and its count of one symbol, inline for the coding
// loops; model.cpp holds the rest and the public entry points.
#pragma once

#include "codec/cum_table.h"
#include "codec/interval.h"
#include "codec/lzari_internal.h"

// The position p with positionCum[p] > x >= positionCum[p + 1], for x
// below the total. Its bucket names the lowest position of 16 values; the
// shares are at least 2, so the answer is that one or one of the 8 after
// it, counted without branches.
static inline int PositionAt(const LzariState* state, uint32_t x) {
    int start = state->positionBucket[x >> PositionBucketShift];
    const uint16_t* cum = state->positionCum + start;
    int p = start;
    for (int j = 1; j <= 8; j++) p += cum[j] > x;
    return p;
}

void HalveFrequencies(LzariState* state);

// The lowest rank whose frequency equals that of `symbol`: frequencies
// never rise with rank, and the sentinel symbolFreq[0] == 0 ends the run.
static inline int FirstOfEqualFrequency(const LzariState* state, int symbol) {
    const uint16_t* freq = state->symbolFreq;
    int i = symbol;
#if defined(__SSE2__)
    const __m128i f = _mm_set1_epi16((short)freq[symbol]);
    for (; i >= 8; i -= 8) {
        __m128i below = _mm_loadu_si128((const __m128i*)(freq + i - 8));
        uint32_t differs = ~(uint32_t)_mm_movemask_epi8(_mm_cmpeq_epi16(below, f)) & 0xFFFF;
        if (differs != 0) return i - 8 + (int)(31 - LeadingZeros(differs)) / 2 + 1;
    }
#endif
    while (freq[i] == freq[i - 1]) i--;
    return i;
}

// Counts one occurrence of the symbol at `rank`. It moves to the front of
// its run of equal frequencies first, which keeps frequencies in order.
static inline void CountSymbol(LzariState* state, CumTable* cum, int rank) {
    if (cum->total >= MaxCum) {
        StoreCumTable(state, *cum);
        HalveFrequencies(state);
        LoadCumTable(state, cum);
    }
    int i = FirstOfEqualFrequency(state, rank);
    if (i < rank) {
        int a = state->charOfSymbol[i];
        int b = state->charOfSymbol[rank];
        state->charOfSymbol[i] = (int16_t)b;
        state->charOfSymbol[rank] = (int16_t)a;
        state->symbolOfChar[a] = (int16_t)rank;
        state->symbolOfChar[b] = (int16_t)i;
    }
    state->symbolFreq[i]++;
    AddBelow(cum, i);
    cum->total++;
}
