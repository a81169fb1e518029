// Routines shared between the codec's own files, and open to its tests.
// Every routine works on a caller-owned state, so independent states may be
// used on several threads at once.
#pragma once

#include "codec/lzari.h"

// For the steps of the coding loops, inlined whatever the compiler thinks
// of their size: a call per symbol costs more than the code it saves.
#if defined(__GNUC__)
#define ALWAYS_INLINE inline __attribute__((always_inline))
#else
#define ALWAYS_INLINE inline
#endif

// Container layout.
enum MagicKind {
    MagicVersion0,   // exactly "LZar"
    MagicVersion1,   // exactly "LzaR"
    MagicCaseless,   // "LZar" only when letter case is ignored
    MagicUnknown,
};

enum {
    MagicLength = 4,
    SizeFieldLength = 4,
    FileTimeLength = 8,
};

MagicKind IdentifyMagic(const uint8_t* data, uint32_t size);
uint32_t ReadLe32(const uint8_t* bytes);
void WriteLe32(uint8_t* bytes, uint32_t value);

// Checks the container's fixed parts and fills input, inputSize, textSize,
// version and the FILETIME of the state. Returns LzariOk or why not.
LzariStatus LocateFields(LzariState* state, const uint8_t* data, uint32_t size);

// Model.
int FindSymbol(const LzariState* state, uint32_t x);
int FindPosition(const LzariState* state, uint32_t x);

// Decoder: the bit reader starts at state->inputPos.
void StartDecoder(LzariState* state);
int GetBit(LzariState* state);
int DecodeChar(LzariState* state);
int DecodePosition(LzariState* state);

// Encoder: output must hold a malloc'ed area of outputCapacity bytes, of
// which outCount are used; PutBit grows it with realloc.
void StartEncoder(LzariState* state);
void InitTree(LzariState* state);
void InsertNode(LzariState* state, int r);
void InsertNodeOnly(LzariState* state, int r);  // the same, not looking for a match
void DeleteNode(LzariState* state, int p);
void PutBit(LzariState* state, int bit);
void OutputBit(LzariState* state, int bit);
void EncodeChar(LzariState* state, int ch);
void EncodePosition(LzariState* state, int position);
void FinishEncode(LzariState* state);
