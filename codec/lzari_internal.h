// Routines shared between the codec's own files, and open to its tests.
// Every routine works on a caller-owned state, so independent states may be
// used on several threads at once.
#pragma once

#include "codec/lzari.h"

// For the steps of the coding loops, inlined whatever the compiler thinks
// of their size: a call per symbol costs more than the code it saves. A
// build for size keeps them calls.
#if defined(__GNUC__) && !defined(__OPTIMIZE_SIZE__)
#define ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define ALWAYS_INLINE inline
#endif

// Container layout.
enum {
    MagicLength = 4,
    SizeFieldLength = 4,
    FileTimeLength = 8,
};

extern const uint8_t Version0Magic[MagicLength];  // what the encoder writes
uint32_t ReadLe32(const uint8_t* bytes);
void WriteLe32(uint8_t* bytes, uint32_t value);

// Checks the container's fixed parts and fills input, inputSize, textSize,
// version and the FILETIME of the state. Returns LzariOk or why not.
LzariStatus LocateFields(LzariState* state, const uint8_t* data, uint32_t size);

// Progress reports: the first at once, then one per ProgressStep bytes.
enum { ProgressStep = 1 << 20 };

inline void ReportProgress(LzariState* state, uint32_t done, uint32_t total) {
    if (!state->progress || done < state->nextProgress) return;
    state->nextProgress = done > UINT32_MAX - ProgressStep ? UINT32_MAX : done + ProgressStep;
    state->progress(state->progressContext, done, total);
}

// Decoder: the bit reader starts at state->inputPos.
void StartDecoder(LzariState* state);

// Encoder: output must hold a malloc'ed area of outputCapacity bytes, of
// which outCount are used; a write grows it with realloc, or with a sink
// set passes it on and starts it afresh.
void StartEncoder(LzariState* state);
void InitTree(LzariState* state);
void InsertNode(LzariState* state, int r);
void InsertNodeOnly(LzariState* state, int r);  // the same, not looking for a match
void DeleteNode(LzariState* state, int p);
void FinishEncode(LzariState* state);
void ResetRing(LzariState* state);
int FillLookAhead(LzariState* state);  // the first bytes into the ring; how many

// Matches found by another thread: MatchAt gives the one InsertNode found
// at a position of the input (length << MatchDistanceBits | distance, 0
// for none), waiting for it if need be. The positions asked for only grow;
// `publish` tells the other thread how far the coder has come.
enum { MatchDistanceBits = 12 };
struct MatchSource {
    const bool* keeps;        // the first bytes of the trees the coder keeps itself
    const uint32_t* matches;  // of the other trees, by position modulo mask + 1
    uint32_t mask;
    uint32_t ready;                                           // positions below this have their match
    void (*wait)(MatchSource* source, uint32_t position);     // until `position` is ready
    void (*publish)(MatchSource* source, uint32_t position);  // the coder has come this far
    uint32_t publishEvery;
    void* context;
};

static inline uint32_t MatchAt(MatchSource* source, uint32_t position) {
    if (position >= source->ready) source->wait(source, position);
    return source->matches[position & source->mask];
}

// Encodes a non-empty input as LzariEncodeWith does, keeping only the trees
// of the first bytes `source` marks; the matches at the other positions
// come from the thread that keeps their trees.
uint8_t* LzariEncodeSharing(LzariState* state, const uint8_t* data, uint32_t size, MatchSource* source,
                            uint32_t* length);
