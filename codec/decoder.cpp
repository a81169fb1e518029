// LZARI decoder: reads a container and rebuilds the file in one allocation
// of exactly the stored size. It reads no byte outside the container and
// writes none past the stored size; a stream that would need either is
// reported as damaged and its output freed.
#include <stdlib.h>
#include <string.h>

#include "codec/lzari_internal.h"

// Upper bound on the bytes one coded byte can yield. After every step the
// coder's interval is wider than a quarter of its range, and a step narrows
// it at least to the symbol's share plus one unit in 2^15. The likeliest
// literal has at most (0x7FFF - 313) / 0x7FFF of the total, so it costs at
// least 0.0138 bits, at most 73 bytes per bit or 584 per coded byte; a match
// pays over 9 bits for its position and yields at most 60 bytes. A size
// field that claims more than this bound for the stream that carries it
// cannot be met, and the output area for it is never allocated.
enum { MaxTextPerStreamByte = 1024 };

static inline int ReadBit(LzariState* state) {
    state->bitMask >>= 1;
    if (state->bitMask == 0) {
        if (state->inputPos < state->inputSize) {
            state->bitBuffer = state->input[state->inputPos++];
        } else {
            state->bitBuffer = 0;
            state->inputExhausted = true;
        }
        state->bitMask = 0x80;
    }
    return (state->bitBuffer & state->bitMask) != 0;
}

int GetBit(LzariState* state) { return ReadBit(state); }

void StartDecoder(LzariState* state) {
    state->outCount = 0;
    state->bitBuffer = 0;
    state->bitMask = 0;
    state->inputExhausted = false;
    state->low = 0;
    state->high = Top;
    state->value = 0;
    for (int i = 0; i < 17; i++) state->value = 2 * state->value + ReadBit(state);
    StartModel(state);
}

// Doubles the interval until it straddles the middle widely enough,
// shifting in one code bit per doubling.
static inline void Renormalise(LzariState* state) {
    uint32_t low = state->low, high = state->high, value = state->value;
    for (;;) {
        if (low >= Half) {
            value -= Half;
            low -= Half;
            high -= Half;
        } else if (low >= Quarter && high <= ThreeQuarters) {
            value -= Quarter;
            low -= Quarter;
            high -= Quarter;
        } else if (high > Half) {
            break;
        }
        low *= 2;
        high *= 2;
        value = 2 * value + ReadBit(state);
    }
    state->low = low;
    state->high = high;
    state->value = value;
}

// Where the code value falls among `total` units of the current interval.
static inline uint32_t ScaledValue(const LzariState* state, uint32_t range, uint32_t total) {
    return (((state->value - state->low + 1) * total - 1) / range) & 0xFFFF;
}

static inline void Narrow(LzariState* state, uint32_t range, uint32_t total, uint32_t cumAbove,
                          uint32_t cumBelow) {
    state->high = state->low + range * cumAbove / total;
    state->low = state->low + range * cumBelow / total;
}

int DecodeChar(LzariState* state) {
    uint32_t range = state->high - state->low;
    uint32_t total = state->symbolCum[0];
    int s = FindSymbol(state, ScaledValue(state, range, total));
    Narrow(state, range, total, state->symbolCum[s - 1], state->symbolCum[s]);
    Renormalise(state);
    int ch = state->charOfSymbol[s];
    UpdateModel(state, s);
    return ch;
}

int DecodePosition(LzariState* state) {
    uint32_t range = state->high - state->low;
    uint32_t total = state->positionCum[0];
    int p = FindPosition(state, ScaledValue(state, range, total));
    Narrow(state, range, total, state->positionCum[p], state->positionCum[p + 1]);
    Renormalise(state);
    return p;
}

static inline void EmitByte(LzariState* state, uint8_t b) {
    state->output[state->outCount++] = b;
    state->ring[state->ringPos] = b;
    state->ringPos = (int16_t)((state->ringPos + 1) & (RingSize - 1));
}

// Returns false when the stream is damaged: it ran past the container, or
// a match would run past the stored size.
static bool DecodeText(LzariState* state) {
    memset(state->ring, ' ', RingFill);
    state->ringPos = RingFill;
    while (state->outCount < state->textSize) {
        if (state->inputExhausted) return false;
        ReportProgress(state, state->outCount, state->textSize);
        int ch = DecodeChar(state);
        if (ch < 256) {
            EmitByte(state, (uint8_t)ch);
            continue;
        }
        int position = DecodePosition(state);
        uint32_t length = (uint32_t)(ch - 253);  // characters 256..313: lengths 3..60
        if (length > state->textSize - state->outCount) return false;
        int start = (state->ringPos - position - 1) & (RingSize - 1);
        for (uint32_t k = 0; k < length; k++) {
            EmitByte(state, state->ring[(start + k) & (RingSize - 1)]);
        }
    }
    return !state->inputExhausted;
}

static uint8_t* Fail(LzariState* state, LzariStatus status) {
    free(state->output);
    state->output = NULL;
    state->version = -1;
    state->fileTimeLow = 0;
    state->fileTimeHigh = 0;
    state->status = status;
    return NULL;
}

uint8_t* LzariDecodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    *length = 0;
    state->output = NULL;
    state->inputExhausted = false;
    LzariStatus located = LocateFields(state, data, size);
    if (located != LzariOk) return Fail(state, located);
    state->status = LzariOk;
    if (state->textSize == 0) return NULL;  // an empty file: nothing is read

    uint64_t streamBytes = state->inputSize - MagicLength;
    if ((uint64_t)state->textSize > streamBytes * MaxTextPerStreamByte) {
        return Fail(state, LzariDamaged);
    }
    state->output = (uint8_t*)malloc(state->textSize);
    if (!state->output) return Fail(state, LzariNoMemory);

    StartDecoder(state);
    state->nextProgress = 0;
    if (!DecodeText(state)) return Fail(state, LzariDamaged);

    uint8_t* result = state->output;
    state->output = NULL;
    *length = state->outCount;
    return result;
}

// The decoder holds 17 bits of look-ahead, the encoder ends with 2 bits
// that settle the last interval: the decoder has read 15 bits past the
// stream's last code bit, and the stream is padded to a whole byte.
enum { BitsReadPastStream = 15 };

uint32_t LzariCodedEnd(const LzariState* state) {
    uint32_t unreadBits = 0;  // of the byte loaded last
    for (uint32_t mask = state->bitMask; mask > 1; mask >>= 1) unreadBits++;
    uint64_t bitsRead = (uint64_t)(state->inputPos - MagicLength) * 8 - unreadBits;
    return MagicLength + (uint32_t)((bitsRead - BitsReadPastStream + 7) / 8);
}

uint8_t* LzariDecode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariDecodeWith(&CodecState, data, size, length);
}
