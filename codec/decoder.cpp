// LZARI decoder: reads a container and rebuilds the file in one allocation
// of exactly the stored size. It reads no byte outside the container and
// writes none past the stored size; a stream that would need either is
// reported as damaged and its output freed.
#include <stdlib.h>
#include <string.h>

#include "codec/decode_steps.h"

void StartDecoder(LzariState* state) {
    state->outCount = 0;
    state->low = 0;
    state->high = Top;
    state->value = PeekBits(state, 0, 17);
    Reader r = {0, Top, state->value, 17};
    StoreReader(state, r);
    StartModel(state);
}

// The ring as the byte-wise decoder leaves it: each output byte at
// RingFill + its index, around the ring.
static void StoreRing(LzariState* state) {
    uint32_t count = state->outCount < (uint32_t)RingSize ? state->outCount : (uint32_t)RingSize;
    for (uint32_t i = state->outCount - count; i < state->outCount; i++) {
        state->ring[(RingFill + i) & (RingSize - 1)] = state->output[i];
    }
    state->ringPos = (int16_t)((RingFill + state->outCount) & (RingSize - 1));
}

// Returns false when the stream is damaged: it ran past the container, or
// a match would run past the stored size.
static bool DecodeText(LzariState* state) {
    memset(state->ring, ' ', RingFill);
    Reader r = LoadReader(state);
    CumTable cum;
    LoadCumTable(state, &cum);
    uint32_t at = 0;
    bool whole = DecodeSymbols(state, state->output, &at, state->textSize, r, cum,
                               [](uint32_t next, const Reader&) { return next; });
    StoreCumTable(state, cum);
    StoreReader(state, r);
    StoreRing(state);
    return whole && !state->inputExhausted;
}

// A caller's buffer (LzariDecodeInto) is not the decoder's to free.
static uint8_t* Fail(LzariState* state, LzariStatus status, bool ownsOutput = true) {
    if (ownsOutput) free(state->output);
    state->output = NULL;
    state->version = -1;
    state->fileTimeLow = 0;
    state->fileTimeHigh = 0;
    state->status = status;
    return NULL;
}

// Decodes into `buffer` (`capacity` bytes), or into an allocation of
// exactly the stored size when `buffer` is null.
static uint8_t* Decode(LzariState* state, const uint8_t* data, uint32_t size, uint8_t* buffer, uint32_t capacity,
                       uint32_t* length) {
    *length = 0;
    LzariStatus opened = OpenContainer(state, data, size);
    if (opened != LzariOk) return Fail(state, opened);
    if (state->textSize == 0) return NULL;  // an empty file: nothing is read
    const bool owned = buffer == NULL;
    if (!owned && state->textSize > capacity) return Fail(state, LzariNoMemory, false);
    state->output = owned ? (uint8_t*)malloc(state->textSize) : buffer;
    if (!state->output) return Fail(state, LzariNoMemory);

    StartDecoder(state);
    state->nextProgress = 0;
    if (!DecodeText(state)) return Fail(state, LzariDamaged, owned);

    uint8_t* result = state->output;
    state->output = NULL;
    *length = state->outCount;
    return result;
}

uint8_t* LzariDecodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    return Decode(state, data, size, NULL, 0, length);
}

LzariStatus LzariDecodeInto(LzariState* state, const uint8_t* data, uint32_t size, uint8_t* buffer, uint32_t capacity,
                            uint32_t* length) {
    Decode(state, data, size, buffer, capacity, length);
    return state->status;
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
