// LZARI encoder: LZSS over the 4096-byte ring (match_finder.cpp), its
// literals, lengths and positions sent through the arithmetic coder.
// Writes a version 0 container.
#include <stdlib.h>
#include <string.h>

#include "codec/interval.h"
#include "codec/model.h"

enum {
    RingMask = RingSize - 1,
    OutputSlack = 1024,
    SinkPiece = 1 << 20,  // the output area when a sink takes the output
};

// Hands a full output area to the sink.
static void PassOutput(LzariState* state) {
    state->sink(state->sinkContext, state->output, state->outCount);
    state->outCount = 0;
}

// Grows the output area instead of writing past it: incompressible input
// codes to slightly more than its own length. With a sink, empties it.
static bool GrowOutput(LzariState* state) {
    if (state->status == LzariNoMemory) return false;
    if (state->sink) {
        PassOutput(state);
        return true;
    }
    size_t capacity = (size_t)state->outputCapacity * 2;
    if (capacity > UINT32_MAX) capacity = UINT32_MAX;
    uint8_t* grown = capacity > state->outputCapacity ? (uint8_t*)realloc(state->output, capacity) : NULL;
    if (!grown) {
        state->status = LzariNoMemory;
        return false;
    }
    state->output = grown;
    state->outputCapacity = (uint32_t)capacity;
    return true;
}

static inline void AppendByte(LzariState* state, uint8_t b) {
    if (state->outCount == state->outputCapacity && !GrowOutput(state)) return;
    state->output[state->outCount++] = b;
}

void StartEncoder(LzariState* state) {
    state->outCount = 0;
    state->pendingBits = 0;
    state->bitBuffer = 0;
    state->bitMask = 0x80;
    state->low = 0;
    state->high = Top;
}

static void PutBit(LzariState* state, int bit) {
    if (bit) state->bitBuffer |= state->bitMask;
    state->bitMask >>= 1;
    if (state->bitMask == 0) {
        AppendByte(state, state->bitBuffer);
        state->bitBuffer = 0;
        state->bitMask = 0x80;
    }
}

static void OutputBit(LzariState* state, int bit) {
    PutBit(state, bit);
    for (; state->pendingBits > 0; state->pendingBits--) PutBit(state, !bit);
}

// The coder in registers: the interval, the bits owed, and up to 31 bits
// not yet written, right-aligned in `bits` (higher bits there are stale).
struct Writer {
    uint32_t low, high;
    uint32_t owed;
    unsigned count;
    uint64_t bits;
};

static Writer LoadWriter(const LzariState* state) {
    Writer w;
    w.low = state->low;
    w.high = state->high;
    w.owed = (uint32_t)state->pendingBits;
    w.count = LeadingZeros(state->bitMask) - 24;
    w.bits = state->bitBuffer >> (8 - w.count);
    return w;
}

// Back to the byte-wise writer: whole bytes out, the rest in bitBuffer.
static void StoreWriter(LzariState* state, const Writer& w) {
    unsigned count = w.count;
    for (; count >= 8; count -= 8) AppendByte(state, (uint8_t)(w.bits >> (count - 8)));
    state->bitBuffer = (uint8_t)(w.bits << (8 - count));
    state->bitMask = (uint8_t)(0x80 >> count);
    state->pendingBits = (int32_t)w.owed;
    state->low = w.low;
    state->high = w.high;
}

static inline void PutBits(LzariState* state, Writer& w, uint32_t value, unsigned count) {
    w.bits = w.bits << count | value;  // count <= 32
    w.count += count;
    if (w.count < 32) return;
    w.count -= 32;
    uint32_t word = (uint32_t)(w.bits >> w.count);
    if (state->outputCapacity - state->outCount < 4 && !GrowOutput(state)) return;
    uint8_t* out = state->output + state->outCount;
    out[0] = (uint8_t)(word >> 24);
    out[1] = (uint8_t)(word >> 16);
    out[2] = (uint8_t)(word >> 8);
    out[3] = (uint8_t)word;
    state->outCount += 4;
}

static void PutRun(LzariState* state, Writer& w, uint32_t bit, uint32_t count) {
    for (; count > 0;) {
        unsigned n = count < 32 ? count : 32;
        PutBits(state, w, bit ? 0xFFFFFFFFu >> (32 - n) : 0, n);
        count -= n;
    }
}

// Narrows the interval to [low + below, low + above) and renormalises it:
// the settled bits go out, the first of them paying the bits owed with its
// opposite, and each straddling doubling owes one more.
static inline void Narrow(LzariState* state, Writer& w, uint32_t above, uint32_t below) {
    uint32_t low = w.low + below;
    Rescaled n = Rescale(low, w.low + above);
    if (n.settled > 0) {
        uint32_t settled = low >> (17 - n.settled);
        if (w.owed > 0) {
            uint32_t first = settled >> (n.settled - 1);
            PutBits(state, w, first, 1);
            PutRun(state, w, !first, w.owed);
            w.owed = 0;
            PutBits(state, w, settled & ((1u << (n.settled - 1)) - 1), n.settled - 1);
        } else {
            PutBits(state, w, settled, n.settled);
        }
    }
    w.owed += n.shifts - n.settled;
    w.low = n.low;
    w.high = n.high;
}

static ALWAYS_INLINE void CodeChar(LzariState* state, CumTable* cum, Writer& w, int ch) {
    int s = state->symbolOfChar[ch];
    uint32_t range = w.high - w.low;
    Divisor divisor(cum->total);
    Narrow(state, w, divisor.Share(range, CumAt(*cum, s - 1)), divisor.Share(range, CumAt(*cum, s)));
    CountSymbol(state, cum, s);
}

static inline void CodePosition(LzariState* state, Writer& w, int position) {
    uint32_t range = w.high - w.low;
    Narrow(state, w, range * state->positionCum[position] / PositionTotal,
           range * state->positionCum[position + 1] / PositionTotal);
}

// The last bit picks the quarter that lies wholly in the final interval, so
// whatever bits a reader finds after the stream decode the same.
void FinishEncode(LzariState* state) {
    state->pendingBits++;
    OutputBit(state, state->low >= Quarter);
    if (state->bitMask != 0x80) {
        AppendByte(state, state->bitBuffer);
        state->bitBuffer = 0;
        state->bitMask = 0x80;
    }
}

// Spaces before the first byte, zeros after it (also in the mirror of the
// ring's start), whatever an earlier run left behind.
void ResetRing(LzariState* state) {
    memset(state->ring, ' ', RingFill);
    memset(state->ring + RingFill, 0, sizeof state->ring - RingFill);
    state->oldest = 0;
    state->ringPos = RingFill;
}

int FillLookAhead(LzariState* state) {
    int len = 0;
    while (len < MaxMatch && state->inputPos < state->inputSize) {
        state->ring[RingFill + len++] = state->input[state->inputPos++];
    }
    return len;
}

static inline void AdvanceRing(LzariState* state) {
    state->oldest = (int16_t)((state->oldest + 1) & RingMask);
    state->ringPos = (int16_t)((state->ringPos + 1) & RingMask);
}

// Whether the coder keeps the tree of a node: all of them on its own;
// sharing, those of the first bytes its source marks.
template <bool Sharing>
static ALWAYS_INLINE bool Keeps(const LzariState* state, const MatchSource* source, int node) {
    return !Sharing || source->keeps[state->ring[node]];
}

template <bool Sharing>
static ALWAYS_INLINE void InsertOnly(LzariState* state, const MatchSource* source, int node) {
    if (Keeps<Sharing>(state, source, node)) InsertNodeOnly(state, node);
}

// Inserts the node at which the next token starts, at `at` in the input,
// and sets its match: InsertNode's, or the one the other thread's found.
template <bool Sharing>
static ALWAYS_INLINE void InsertWithMatch(LzariState* state, MatchSource* source, int node, uint32_t at) {
    if (Keeps<Sharing>(state, source, node)) {
        InsertNode(state, node);
        return;
    }
    uint32_t match = MatchAt(source, at);
    state->matchLength = (int16_t)(match >> MatchDistanceBits);
    state->matchPosition = (int16_t)(match & ((1u << MatchDistanceBits) - 1));
}

// Moves the look-ahead on by `count` input bytes: each takes the oldest
// position's place in the ring and trees (a node the coder never inserted
// has no parent, and DeleteNode passes it by). Of the positions a token
// slides over, only the last one's match is looked for (when `matchAtEnd`,
// the next token's start at `next` in the input): the others go into the
// tree without their search.
template <bool Sharing>
static ALWAYS_INLINE void SlideIn(LzariState* state, MatchSource* source, int count, bool matchAtEnd, uint32_t next) {
    int oldest = state->oldest, ringPos = state->ringPos;
    const uint8_t* in = state->input + state->inputPos;
    for (int i = 0; i < count; i++) {
        DeleteNode(state, oldest);
        state->ring[oldest] = in[i];
        if (oldest < MaxMatch - 1) state->ring[oldest + RingSize] = in[i];
        oldest = (oldest + 1) & RingMask;
        ringPos = (ringPos + 1) & RingMask;
        if (matchAtEnd && i == count - 1) {
            InsertWithMatch<Sharing>(state, source, ringPos, next);
        } else {
            InsertOnly<Sharing>(state, source, ringPos);
        }
    }
    state->oldest = (int16_t)oldest;
    state->ringPos = (int16_t)ringPos;
    state->inputPos += (uint32_t)count;
}

template <bool Sharing>
static void CodeText(LzariState* state, MatchSource* source) {
    Writer w = LoadWriter(state);
    CumTable cum;
    LoadCumTable(state, &cum);
    int len = FillLookAhead(state);
    // The 60 positions before the look-ahead are match candidates at once.
    for (int i = 1; i <= MaxMatch; i++) InsertOnly<Sharing>(state, source, state->ringPos - i);
    InsertWithMatch<Sharing>(state, source, state->ringPos, 0);
    state->nextProgress = 0;
    uint32_t at = 0, nextPublish = 0;  // the token's start in the input
    do {
        ReportProgress(state, state->inputPos, state->inputSize);
        if (Sharing && at >= nextPublish) {
            source->publish(source, at);
            nextPublish = at + source->publishEvery;
        }
        if (state->matchLength > len) state->matchLength = (int16_t)len;
        if (state->matchLength <= MatchThreshold) {
            state->matchLength = 1;
            CodeChar(state, &cum, w, state->ring[state->ringPos]);
        } else {
            CodeChar(state, &cum, w, MatchSymbolBase + state->matchLength);
            CodePosition(state, w, state->matchPosition - 1);
        }
        int last = state->matchLength;
        uint32_t left = state->inputSize - state->inputPos;
        int i = left < (uint32_t)last ? (int)left : last;
        at += (uint32_t)last;
        SlideIn<Sharing>(state, source, i, i == last, at);
        for (; i < last; i++) {  // past the end of the input
            DeleteNode(state, state->oldest);
            AdvanceRing(state);
            if (--len == 0) continue;
            if (i == last - 1) {
                InsertWithMatch<Sharing>(state, source, state->ringPos, at);
            } else {
                InsertOnly<Sharing>(state, source, state->ringPos);
            }
        }
    } while (len > 0);
    StoreCumTable(state, cum);
    StoreWriter(state, w);
}

static void AppendLe32(LzariState* state, uint32_t value) {
    uint8_t bytes[4];
    WriteLe32(bytes, value);
    for (int i = 0; i < 4; i++) AppendByte(state, bytes[i]);
}

static bool StartContainer(LzariState* state, const uint8_t* data, uint32_t size) {
    state->status = LzariOk;
    state->version = 0;
    state->input = data;
    state->inputSize = size;
    state->inputPos = 0;
    size_t capacity = (size_t)size + OutputSlack;
    if (capacity > UINT32_MAX) capacity = UINT32_MAX;
    if (state->sink && capacity > SinkPiece) capacity = SinkPiece;
    state->output = (uint8_t*)malloc(capacity);
    if (!state->output) {
        state->status = LzariNoMemory;
        return false;
    }
    state->outputCapacity = (uint32_t)capacity;
    StartEncoder(state);
    for (int i = 0; i < MagicLength; i++) AppendByte(state, Version0Magic[i]);
    StartModel(state);
    return true;
}

static uint8_t* FinishContainer(LzariState* state, uint32_t* length) {
    FinishEncode(state);
    AppendLe32(state, state->inputSize);
    if (state->sink && state->status == LzariOk) PassOutput(state);
    uint8_t* result = state->output;
    state->output = NULL;
    if (state->status != LzariOk || state->sink) {
        free(result);
        return NULL;
    }
    *length = state->outCount;
    return result;
}

uint8_t* LzariEncodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    *length = 0;
    if (!StartContainer(state, data, size)) return NULL;
    InitTree(state);
    ResetRing(state);
    CodeText<false>(state, NULL);
    return FinishContainer(state, length);
}

uint8_t* LzariEncodeSharing(LzariState* state, const uint8_t* data, uint32_t size, MatchSource* source,
                            uint32_t* length) {
    *length = 0;
    if (!StartContainer(state, data, size)) return NULL;
    InitTree(state);
    ResetRing(state);
    CodeText<true>(state, source);
    return FinishContainer(state, length);
}

uint8_t* LzariEncode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncodeWith(&CodecState, data, size, length);
}
