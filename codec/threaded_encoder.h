// LzariEncodeWith's output on two threads (each keeps some of the match
// finder's trees), for the native tools; not part of the installer runtime.
#pragma once

#include "codec/lzari.h"

uint8_t* LzariEncodeThreaded(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length);

// How the work is shared out: the coding thread keeps the trees of the
// first bytes marked here, the tree thread those of the others, and
// settles positions in blocks of 1 << blockShift (0 to DefaultBlockShift)
// between its reports to the coder. LzariEncodeThreaded weighs the trees by the
// input's bytes; the codec's tests and fuzzers try other shares, which must
// write the same bytes.
enum { DefaultBlockShift = 16 };
struct TreeShare {
    bool firstKeeps[256];
    int blockShift;
};
uint8_t* LzariEncodeShared(LzariState* state, const uint8_t* data, uint32_t size, const TreeShare* share,
                           uint32_t* length);
