// LZARI encoder: LZSS with one binary search tree per first byte over the
// 4096-byte ring, its literals, lengths and positions sent through the
// arithmetic coder. Writes a version 0 container.
#include <stdlib.h>
#include <string.h>

#include "codec/lzari_internal.h"

enum {
    TreeRoots = RingSize + 1,  // right[TreeRoots + b] roots the tree of first byte b
    RingMask = RingSize - 1,
    OutputSlack = 1024,
};

// Grows the output area instead of writing past it: incompressible input
// codes to slightly more than its own length.
static bool GrowOutput(LzariState* state) {
    if (state->status == LzariNoMemory) return false;
    size_t capacity = (size_t)state->outputCapacity * 2;
    if (capacity > UINT32_MAX) capacity = UINT32_MAX;
    uint8_t* grown = capacity > state->outputCapacity
                         ? (uint8_t*)realloc(state->output, capacity)
                         : NULL;
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

void PutBit(LzariState* state, int bit) {
    if (bit) state->bitBuffer |= state->bitMask;
    state->bitMask >>= 1;
    if (state->bitMask == 0) {
        AppendByte(state, state->bitBuffer);
        state->bitBuffer = 0;
        state->bitMask = 0x80;
    }
}

void OutputBit(LzariState* state, int bit) {
    PutBit(state, bit);
    for (; state->pendingBits > 0; state->pendingBits--) PutBit(state, !bit);
}

static void Renormalise(LzariState* state) {
    for (;;) {
        if (state->high <= Half) {
            OutputBit(state, 0);
        } else if (state->low >= Half) {
            OutputBit(state, 1);
            state->low -= Half;
            state->high -= Half;
        } else if (state->low >= Quarter && state->high <= ThreeQuarters) {
            state->pendingBits++;
            state->low -= Quarter;
            state->high -= Quarter;
        } else {
            break;
        }
        state->low *= 2;
        state->high *= 2;
    }
}

static inline void Narrow(LzariState* state, uint32_t total, uint32_t cumAbove, uint32_t cumBelow) {
    uint32_t range = state->high - state->low;
    state->high = state->low + range * cumAbove / total;
    state->low = state->low + range * cumBelow / total;
}

void EncodeChar(LzariState* state, int ch) {
    int s = state->symbolOfChar[ch];
    Narrow(state, state->symbolCum[0], state->symbolCum[s - 1], state->symbolCum[s]);
    Renormalise(state);
    UpdateModel(state, s);
}

void EncodePosition(LzariState* state, int position) {
    Narrow(state, state->positionCum[0], state->positionCum[position],
           state->positionCum[position + 1]);
    Renormalise(state);
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

void InitTree(LzariState* state) {
    for (int i = TreeRoots; i < TreeRoots + 256; i++) state->right[i] = NilNode;
    for (int i = 0; i < RingSize; i++) state->parent[i] = NilNode;
}

// r takes the place of p, whose string it repeats in full; p leaves the tree.
static void ReplaceNode(LzariState* state, int p, int r) {
    int16_t* left = state->left;
    int16_t* right = state->right;
    int16_t* parent = state->parent;
    parent[r] = parent[p];
    left[r] = left[p];
    right[r] = right[p];
    parent[left[p]] = (int16_t)r;
    parent[right[p]] = (int16_t)r;
    if (right[parent[p]] == p) {
        right[parent[p]] = (int16_t)r;
    } else {
        left[parent[p]] = (int16_t)r;
    }
    parent[p] = NilNode;
}

void InsertNode(LzariState* state, int r) {
    int16_t* left = state->left;
    int16_t* right = state->right;
    const uint8_t* key = &state->ring[r];
    int p = TreeRoots + key[0];
    int cmp = 1;
    left[r] = right[r] = NilNode;
    state->matchLength = 0;
    for (;;) {
        int16_t* child = cmp >= 0 ? &right[p] : &left[p];
        if (*child == NilNode) {
            *child = (int16_t)r;
            state->parent[r] = (int16_t)p;
            return;
        }
        p = *child;
        const uint8_t* candidate = &state->ring[p];
        int i = 1;
        for (; i < MaxMatch; i++) {
            cmp = key[i] - candidate[i];
            if (cmp != 0) break;
        }
        if (i <= MatchThreshold) continue;
        int distance = (r - p) & RingMask;
        if (i > state->matchLength) {
            state->matchPosition = (int16_t)distance;
            state->matchLength = (int16_t)i;
            if (i >= MaxMatch) break;
        } else if (i == state->matchLength && distance < state->matchPosition) {
            state->matchPosition = (int16_t)distance;  // the nearest of equal matches
        }
    }
    ReplaceNode(state, p, r);
}

// The node that takes p's place is the rightmost of p's left subtree.
static int DetachPredecessor(LzariState* state, int p) {
    int16_t* left = state->left;
    int16_t* right = state->right;
    int16_t* parent = state->parent;
    int q = left[p];
    if (right[q] != NilNode) {
        while (right[q] != NilNode) q = right[q];
        right[parent[q]] = left[q];
        parent[left[q]] = parent[q];
        left[q] = left[p];
        parent[left[p]] = (int16_t)q;
    }
    right[q] = right[p];
    parent[right[p]] = (int16_t)q;
    return q;
}

void DeleteNode(LzariState* state, int p) {
    int16_t* left = state->left;
    int16_t* right = state->right;
    int16_t* parent = state->parent;
    if (parent[p] == NilNode) return;
    int q;
    if (right[p] == NilNode) {
        q = left[p];
    } else if (left[p] == NilNode) {
        q = right[p];
    } else {
        q = DetachPredecessor(state, p);
    }
    parent[q] = parent[p];
    if (right[parent[p]] == p) {
        right[parent[p]] = (int16_t)q;
    } else {
        left[parent[p]] = (int16_t)q;
    }
    parent[p] = NilNode;
}

// Spaces before the first byte, zeros after it (also in the mirror of the
// ring's start), whatever an earlier run left behind.
static void ResetRing(LzariState* state) {
    memset(state->ring, ' ', RingFill);
    memset(state->ring + RingFill, 0, sizeof state->ring - RingFill);
    state->oldest = 0;
    state->ringPos = RingFill;
}

static int FillLookAhead(LzariState* state) {
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

static void SlideInByte(LzariState* state) {
    DeleteNode(state, state->oldest);
    uint8_t b = state->input[state->inputPos++];
    state->ring[state->oldest] = b;
    if (state->oldest < MaxMatch - 1) state->ring[state->oldest + RingSize] = b;
    AdvanceRing(state);
    InsertNode(state, state->ringPos);
}

static void CodeText(LzariState* state) {
    int len = FillLookAhead(state);
    // The 60 positions before the look-ahead are match candidates at once.
    for (int i = 1; i <= MaxMatch; i++) InsertNode(state, state->ringPos - i);
    InsertNode(state, state->ringPos);
    state->nextProgress = 0;
    do {
        ReportProgress(state, state->inputPos, state->inputSize);
        if (state->matchLength > len) state->matchLength = (int16_t)len;
        if (state->matchLength <= MatchThreshold) {
            state->matchLength = 1;
            EncodeChar(state, state->ring[state->ringPos]);
        } else {
            EncodeChar(state, 253 + state->matchLength);
            EncodePosition(state, state->matchPosition - 1);
        }
        int last = state->matchLength;
        int i = 0;
        for (; i < last && state->inputPos < state->inputSize; i++) SlideInByte(state);
        for (; i < last; i++) {
            DeleteNode(state, state->oldest);
            AdvanceRing(state);
            if (--len != 0) InsertNode(state, state->ringPos);
        }
    } while (len > 0);
}

static void AppendLe32(LzariState* state, uint32_t value) {
    uint8_t bytes[4];
    WriteLe32(bytes, value);
    for (int i = 0; i < 4; i++) AppendByte(state, bytes[i]);
}

uint8_t* LzariEncodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length) {
    *length = 0;
    state->status = LzariOk;
    state->version = 0;
    state->input = data;
    state->inputSize = size;
    state->inputPos = 0;
    size_t capacity = (size_t)size + OutputSlack;
    if (capacity > UINT32_MAX) capacity = UINT32_MAX;
    state->output = (uint8_t*)malloc(capacity);
    if (!state->output) {
        state->status = LzariNoMemory;
        return NULL;
    }
    state->outputCapacity = (uint32_t)capacity;

    StartEncoder(state);
    AppendByte(state, 'L');
    AppendByte(state, 'Z');
    AppendByte(state, 'a');
    AppendByte(state, 'r');
    StartModel(state);
    InitTree(state);
    ResetRing(state);
    CodeText(state);
    FinishEncode(state);
    AppendLe32(state, size);

    uint8_t* result = state->output;
    state->output = NULL;
    if (state->status != LzariOk) {
        free(result);
        return NULL;
    }
    *length = state->outCount;
    return result;
}

uint8_t* LzariEncode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncodeWith(&CodecState, data, size, length);
}
