// The adaptive model of characters and the fixed model of positions, shared
// by decoder and encoder.
#include "codec/lzari_internal.h"

static void StartSymbolModel(LzariState* state) {
    state->symbolCum[SymbolCount] = 0;
    for (int s = SymbolCount; s >= 1; s--) {
        int ch = s - 1;
        state->symbolOfChar[ch] = (int16_t)s;
        state->charOfSymbol[s] = (int16_t)ch;
        state->symbolFreq[s] = 1;
        state->symbolCum[s - 1] = (uint16_t)(state->symbolCum[s] + 1);
    }
    state->symbolFreq[0] = 0;
}

// Position p gets the share 10000 / (p + 201): near positions are likelier.
static void StartPositionModel(LzariState* state) {
    state->positionCum[RingSize] = 0;
    for (int i = RingSize; i >= 1; i--) {
        state->positionCum[i - 1] = (uint16_t)(state->positionCum[i] + 10000 / (i + 200));
    }
}

void StartModel(LzariState* state) {
    StartSymbolModel(state);
    StartPositionModel(state);
}

// Halving rounds up so that no frequency reaches 0.
static void HalveFrequencies(LzariState* state) {
    unsigned sum = 0;
    for (int i = SymbolCount; i >= 1; i--) {
        state->symbolCum[i] = (uint16_t)sum;
        state->symbolFreq[i] = (uint16_t)((state->symbolFreq[i] + 1) / 2);
        sum += state->symbolFreq[i];
    }
    state->symbolCum[0] = (uint16_t)sum;
}

void UpdateModel(LzariState* state, int symbol) {
    if (state->symbolCum[0] >= MaxCum) HalveFrequencies(state);

    uint16_t* freq = state->symbolFreq;
    int i = symbol;
    while (freq[i] == freq[i - 1]) i--;  // the sentinel freq[0] == 0 stops it
    if (i < symbol) {
        int a = state->charOfSymbol[i];
        int b = state->charOfSymbol[symbol];
        state->charOfSymbol[i] = (int16_t)b;
        state->charOfSymbol[symbol] = (int16_t)a;
        state->symbolOfChar[a] = (int16_t)symbol;
        state->symbolOfChar[b] = (int16_t)i;
    }
    freq[i]++;
    uint16_t* cum = state->symbolCum;
    for (int k = i - 1; k >= 0; k--) cum[k]++;
}

// Both tables fall from their total at index 0 to 0 at the end; the search
// returns the first index in [1, last] whose entry is not above x.
static inline int FirstNotAbove(const uint16_t* cum, int last, uint32_t x) {
    int i = 1, j = last;
    while (i < j) {
        int k = (i + j) / 2;
        if (cum[k] > x) {
            i = k + 1;
        } else {
            j = k;
        }
    }
    return i;
}

int FindSymbol(const LzariState* state, uint32_t x) {
    return FirstNotAbove(state->symbolCum, SymbolCount, x);
}

int FindPosition(const LzariState* state, uint32_t x) {
    return FirstNotAbove(state->positionCum, RingSize, x) - 1;
}
