// The streaming decoder: the decoder's steps (decode_steps.h) over a window
// that keeps the 4096 bytes a match can reach back, as the window fills.
#include "codec/stream_decoder.h"

#include <stdlib.h>
#include <string.h>

#include "codec/decode_steps.h"

enum {
    History = RingSize,
    Piece = 1 << 20,
    WindowSize = History + Piece,
    PassOnFrom = WindowSize - MaxMatch,  // a match more might not fit
};

static LzariStatus Fail(LzariState* state, LzariStatus status) {
    state->version = -1;
    state->fileTimeLow = 0;
    state->fileTimeHigh = 0;
    state->status = status;
    return status;
}

// Before the first output byte lies the ring as the decode found it: the
// window's history is laid out so that d bytes back from the first byte
// is the ring's byte d back from RingFill.
static void StartWindow(const LzariState* state, uint8_t* window) {
    for (uint32_t i = 0; i < History; i++) window[i] = state->ring[(RingFill + i) & (RingSize - 1)];
}

// Passes the output in the window on.
static void PassOn(LzariState* state, uint8_t* window, uint32_t at, const Reader& r) {
    StoreReader(state, r);
    state->sink(state->sinkContext, window + History, at - History);
}

// Passes a full window on and keeps its last History bytes; returns where
// the next byte goes.
static uint32_t PassOnAndKeep(LzariState* state, uint8_t* window, uint32_t at, const Reader& r) {
    PassOn(state, window, at, r);
    memcpy(window, window + at - History, History);  // at is over twice History: no overlap
    return History;
}

// The ring as LzariDecodeWith leaves it, from the last bytes in the window.
static void StoreRing(LzariState* state, const uint8_t* window, uint32_t at) {
    uint32_t kept = state->outCount < (uint32_t)RingSize ? state->outCount : (uint32_t)RingSize;
    for (uint32_t i = 0; i < kept; i++) {
        state->ring[(RingFill + state->outCount - kept + i) & (RingSize - 1)] = window[at - kept + i];
    }
    state->ringPos = (int16_t)((RingFill + state->outCount) & (RingSize - 1));
}

// Returns false when the stream is damaged, as DecodeText does.
static bool DecodeThroughWindow(LzariState* state, uint8_t* window) {
    memset(state->ring, ' ', RingFill);
    StartWindow(state, window);
    Reader r = LoadReader(state);
    CumTable cum;
    LoadCumTable(state, &cum);
    uint32_t at = History;
    bool whole = DecodeSymbols(state, window, &at, WindowSize, r, cum, [&](uint32_t next, const Reader& now) {
        return next > PassOnFrom ? PassOnAndKeep(state, window, next, now) : next;
    });
    StoreCumTable(state, cum);
    StoreReader(state, r);
    StoreRing(state, window, at);
    if (!whole || state->inputExhausted) return false;
    if (at > History) PassOn(state, window, at, r);
    return true;
}

LzariStatus LzariDecodeStream(LzariState* state, const uint8_t* data, uint32_t size) {
    state->outCount = 0;
    LzariStatus opened = OpenContainer(state, data, size);
    if (opened != LzariOk) return Fail(state, opened);
    if (state->textSize == 0) return LzariOk;  // an empty file: nothing is read
    uint8_t* window = (uint8_t*)malloc(WindowSize);
    if (!window) return Fail(state, LzariNoMemory);
    StartDecoder(state);
    state->nextProgress = 0;
    bool whole = DecodeThroughWindow(state, window);
    free(window);
    return whole ? LzariOk : Fail(state, LzariDamaged);
}
