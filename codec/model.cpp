// The adaptive model of characters and the fixed model of positions, shared
// by decoder and encoder.
#include "codec/model.h"

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

static constexpr uint32_t PositionShareSum() {
    uint32_t sum = 0;
    for (int i = 1; i <= RingSize; i++) sum += 10000 / (i + 200);
    return sum;
}
static_assert(PositionShareSum() == PositionTotal, "the coders divide by a constant total");

// Position p gets the share 10000 / (p + 201): near positions are likelier.
// Bucket b starts at the position of the highest value in it, 16b + 15; the
// farthest start, of bucket 0, is 4088, so the 8 positions PositionAt
// looks at past a start stay inside the table.
static void StartPositionModel(LzariState* state) {
    state->positionCum[RingSize] = 0;
    for (int i = RingSize; i >= 1; i--) {
        state->positionCum[i - 1] = (uint16_t)(state->positionCum[i] + 10000 / (i + 200));
    }
    int p = RingSize - 1;
    for (uint32_t b = 0; b < PositionBuckets; b++) {
        uint32_t highest = (b << PositionBucketShift) + (1u << PositionBucketShift) - 1;
        while (p > 0 && state->positionCum[p] <= highest) p--;
        state->positionBucket[b] = (uint16_t)p;
    }
}

void StartModel(LzariState* state) {
    StartSymbolModel(state);
    StartPositionModel(state);
}

// Halving rounds up so that no frequency reaches 0.
void HalveFrequencies(LzariState* state) {
    unsigned sum = 0;
    for (int i = SymbolCount; i >= 1; i--) {
        state->symbolCum[i] = (uint16_t)sum;
        state->symbolFreq[i] = (uint16_t)((state->symbolFreq[i] + 1) / 2);
        sum += state->symbolFreq[i];
    }
    state->symbolCum[0] = (uint16_t)sum;
}
