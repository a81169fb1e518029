// The model's lookups and its count of one symbol, inline for the coding
// loops; model.cpp holds the rest and the public entry points.
#pragma once

#include "codec/interval.h"
#include "codec/lzari_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

static inline unsigned TrailingZeros(uint32_t x) {  // x != 0
#if defined(__GNUC__)
    return (unsigned)__builtin_ctz(x);
#else
    unsigned n = 0;
    for (; !(x & 1); x >>= 1) n++;
    return n;
#endif
}

// The first index in [1, SymbolCount] whose entry is not above x, in a
// table of SymbolCount + 1 entries that never rises and whose last entry is
// not above x. Entries and x are at most 0x7FFF, so signed lanes compare
// them. The blocks read are those AddBelow writes, so the loads find the
// stores that have just filled them.
static inline int FirstNotAbove(const uint16_t* table, uint32_t x) {
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi16((short)x);
    uint32_t skip = 1;  // index 0 is not a candidate
    for (int k = 0;; k += 16) {
        if (k > SymbolCount + 1 - 16) k = SymbolCount + 1 - 16;  // the last block overlaps
        __m128i a = _mm_loadu_si128((const __m128i*)(table + k));
        __m128i b = _mm_loadu_si128((const __m128i*)(table + k + 8));
        __m128i above = _mm_packs_epi16(_mm_cmpgt_epi16(a, limit), _mm_cmpgt_epi16(b, limit));
        uint32_t mask = (uint32_t)_mm_movemask_epi8(above) | skip;
        if (mask != 0xFFFF) return k + (int)TrailingZeros(~mask);
        skip = 0;
    }
#else
    int i = 1, j = SymbolCount;
    while (i < j) {
        int k = (i + j) / 2;
        if (table[k] > x) {
            i = k + 1;
        } else {
            j = k;
        }
    }
    return i;
#endif
}

// Adds 1 to the entries of a table of SymbolCount + 1 below `end`.
static inline void AddBelow(uint16_t* table, int end) {
    int k = 0;
#if defined(__SSE2__)
    // Whole blocks of 8 from index 0, so that FirstNotAbove reads back
    // exactly what was stored; the last one adds only below `end`.
    const __m128i one = _mm_set1_epi16(1);
    for (; k + 8 <= end; k += 8) {
        __m128i* block = (__m128i*)(table + k);
        _mm_storeu_si128(block, _mm_add_epi16(_mm_loadu_si128(block), one));
    }
    if (k < end && k <= SymbolCount + 1 - 8) {
        __m128i* block = (__m128i*)(table + k);
        __m128i left = _mm_set1_epi16((short)(end - k));
        __m128i below = _mm_cmpgt_epi16(left, _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7));
        _mm_storeu_si128(block, _mm_sub_epi16(_mm_loadu_si128(block), below));  // below is -1
        return;
    }
#endif
    for (; k < end; k++) table[k]++;
}

// The rank s with symbolCum[s - 1] > x >= symbolCum[s].
static inline int SymbolAt(const LzariState* state, uint32_t x) {
    return FirstNotAbove(state->symbolCum, x);
}

// The position p with positionCum[p] > x >= positionCum[p + 1]. Its
// bucket names the lowest position of 16 values; the shares are at least 2,
// so the answer is one of the 8 after it, counted without branches.
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
static inline void CountSymbol(LzariState* state, int rank) {
    if (state->symbolCum[0] >= MaxCum) HalveFrequencies(state);

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
    AddBelow(state->symbolCum, i);
}
