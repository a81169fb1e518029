// The symbols' cumulative counts as the coding loops keep them: in blocks
// of 16 ranks, each entry counted only to the end of its block, plus for
// each block the count of all ranks past it. symbolCum[k] is then
// within[k] + past[k / 16]; counting a symbol touches one block and the
// block totals instead of every rank above it, and a search looks at the
// block totals and one block. The state's symbolCum is the plain form,
// loaded into the table before a run of symbols and stored back after it.
#pragma once

#include <string.h>

#include "codec/lzari_internal.h"

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

enum {
    CumBlockShift = 4,
    CumBlock = 1 << CumBlockShift,
    CumBlocks = (SymbolCount + CumBlock) / CumBlock,  // ranks 0 to SymbolCount
};

struct CumTable {
    uint16_t within[CumBlocks * CumBlock];  // past SymbolCount: 0
    uint16_t past[CumBlocks + 4];           // past the last block: 0
    // symbolCum[0] once more: it grows by one per symbol counted, and kept
    // apart it is known before the table's last count has landed.
    uint32_t total;
};

static inline unsigned TrailingZeros(uint32_t x) {  // x != 0
#if defined(__GNUC__)
    return (unsigned)__builtin_ctz(x);
#else
    unsigned n = 0;
    for (; !(x & 1); x >>= 1) n++;
    return n;
#endif
}

static inline void LoadCumTable(const LzariState* state, CumTable* t) {
    t->total = state->symbolCum[0];
    for (int b = 0; b < CumBlocks + 4; b++) {
        int last = b * CumBlock + CumBlock - 1;
        t->past[b] = last <= SymbolCount ? state->symbolCum[last] : 0;
    }
    for (int k = 0; k < CumBlocks * CumBlock; k++) {
        t->within[k] = k <= SymbolCount ? (uint16_t)(state->symbolCum[k] - t->past[k >> CumBlockShift]) : 0;
    }
}

static inline void StoreCumTable(LzariState* state, const CumTable& t) {
    for (int k = 0; k <= SymbolCount; k++) {
        state->symbolCum[k] = (uint16_t)(t.within[k] + t.past[k >> CumBlockShift]);
    }
}

static inline uint32_t CumAt(const CumTable& t, int k) {
    return (uint32_t)t.within[k] + t.past[k >> CumBlockShift];
}

#if defined(__SSE2__)
// A mask of the lanes of 16 entries (8 at `a`, 8 at `b`) above `limit`.
// Counts are at most 0x7FFF, so signed lanes compare them.
static inline uint32_t AboveMask(const uint16_t* a, const uint16_t* b, __m128i limit) {
    __m128i x = _mm_cmpgt_epi16(_mm_loadu_si128((const __m128i*)a), limit);
    __m128i y = _mm_cmpgt_epi16(_mm_loadu_si128((const __m128i*)b), limit);
    return (uint32_t)_mm_movemask_epi8(_mm_packs_epi16(x, y));
}
#endif

// The rank s with symbolCum[s - 1] > x >= symbolCum[s], for x below the
// total. Counts fall with rank, so the entries above x come first.
static inline int SymbolAt(const CumTable& t, uint32_t x) {
#if defined(__SSE2__)
    const __m128i limit = _mm_set1_epi16((short)x);
    uint32_t blocksAbove = AboveMask(t.past, t.past + 8, limit) | AboveMask(t.past + 16, t.past + 16, limit) << 16;
    int b = (int)TrailingZeros(~blocksAbove);
    const uint16_t* block = t.within + b * CumBlock;
    // The block's past count goes from memory straight into every lane:
    // sooner than a subtraction followed by a spread of its result.
    int32_t pastPair;
    memcpy(&pastPair, t.past + b, sizeof pastPair);
    __m128i past = _mm_shufflelo_epi16(_mm_cvtsi32_si128(pastPair), 0);
    uint32_t above = AboveMask(block, block + 8, _mm_sub_epi16(limit, _mm_unpacklo_epi64(past, past)));
    return b * CumBlock + (int)TrailingZeros(~above);
#else
    int b = 0;
    while (t.past[b] > x) b++;
    int k = b * CumBlock;
    while (t.within[k] > x - t.past[b]) k++;
    return k;
#endif
}

// Adds 1 to symbolCum[k] for every k below `rank`.
static inline void AddBelow(CumTable* t, int rank) {
    int b = rank >> CumBlockShift;
#if defined(__SSE2__)
    const __m128i lanes = _mm_setr_epi16(0, 1, 2, 3, 4, 5, 6, 7), eight = _mm_set1_epi16(8);
    __m128i* block = (__m128i*)(t->within + b * CumBlock);
    __m128i left = _mm_set1_epi16((short)(rank - b * CumBlock));  // entries of the block to count
    _mm_storeu_si128(block, _mm_sub_epi16(_mm_loadu_si128(block), _mm_cmpgt_epi16(left, lanes)));
    left = _mm_sub_epi16(left, eight);
    _mm_storeu_si128(block + 1, _mm_sub_epi16(_mm_loadu_si128(block + 1), _mm_cmpgt_epi16(left, lanes)));
    __m128i* past = (__m128i*)t->past;
    left = _mm_set1_epi16((short)b);  // blocks before this one
    for (int i = 0; i < 3; i++, left = _mm_sub_epi16(left, eight)) {
        _mm_storeu_si128(past + i, _mm_sub_epi16(_mm_loadu_si128(past + i), _mm_cmpgt_epi16(left, lanes)));
    }
#else
    for (int k = b * CumBlock; k < rank; k++) t->within[k]++;
    for (int i = 0; i < b; i++) t->past[i]++;
#endif
}
