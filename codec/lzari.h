// LZARI payload codec: LZSS over a 4096-byte ring, coded by an adaptive
// arithmetic coder, in the installer's payload container.
//
// Portable C++: no Win32, no exceptions, only the C library. Buffers that a
// call returns are allocated with malloc and belong to the caller (free()).
#pragma once

#include <stddef.h>
#include <stdint.h>

enum {
    RingSize = 4096,
    MaxMatch = 60,
    MatchThreshold = 2,
    SymbolCount = 314,
    // Symbols 0..255 are bytes; a match of length n (3..60) is symbol
    // MatchSymbolBase + n, the symbols 256..313.
    MatchSymbolBase = 256 - MatchThreshold - 1,
    RingFill = RingSize - MaxMatch,
    NilNode = RingSize,
    MaxCum = 0x7FFF,
    PositionTotal = 28568,  // the fixed sum of all position shares
    PositionBucketShift = 4,
    PositionBuckets = (PositionTotal >> PositionBucketShift) + 1,
};

enum : uint32_t {
    Quarter = 0x8000,
    Half = 0x10000,
    ThreeQuarters = 0x18000,
    Top = 0x20000,
};

// Why a call produced no buffer. The installer tells an empty file
// (LzariOk with length 0) from every other outcome.
enum LzariStatus {
    LzariOk = 0,
    LzariTooShort,  // container shorter than its fixed parts
    LzariBadMagic,  // first four bytes are not "LZar" with case ignored
    LzariNoMemory,  // output area could not be allocated
    LzariDamaged,   // stream needs bytes beyond the container, or overruns the size
};

// The codec's working state, shared by decoder and encoder. The installer
// keeps one process-wide instance (CodecState); the tools own one per thread.
struct LzariState {
    // container and bit reader / writer
    const uint8_t* input;
    uint32_t inputSize;
    uint32_t inputPos;
    uint8_t* output;
    uint32_t outputCapacity;
    uint32_t textSize;
    uint32_t outCount;
    uint8_t bitBuffer;
    uint8_t bitMask;
    int32_t pendingBits;  // wide: a crafted input can owe more than 32767 bits
    bool inputExhausted;  // the bit reader ran past the container

    // arithmetic coder
    uint32_t low;
    uint32_t high;
    uint32_t value;

    // adaptive model
    int16_t charOfSymbol[SymbolCount + 1];
    int16_t symbolOfChar[SymbolCount];
    uint16_t symbolFreq[SymbolCount + 1];
    uint16_t symbolCum[SymbolCount + 1];
    uint16_t positionCum[RingSize + 1];
    uint16_t positionBucket[PositionBuckets];  // the nearest position of each 16 scaled values

    // ring and match finder
    uint8_t ring[RingSize + MaxMatch - 1];
    int16_t ringPos;
    int16_t oldest;
    int16_t children[RingSize + 257][2];  // smaller, larger; the roots at RingSize + 1 + first byte
    int16_t parent[RingSize + 1];
    int16_t matchPosition;
    int16_t matchLength;

    // reported beside a decode's result
    int32_t version;
    uint32_t fileTimeLow;
    uint32_t fileTimeHigh;
    LzariStatus status;

    // Optional: told now and then how far a call has come (input bytes taken
    // when encoding, output bytes made when decoding, out of `total`). Must
    // not throw. Null in a zeroed state, which is how the installer runs.
    void (*progress)(void* context, uint32_t done, uint32_t total);
    void* progressContext;
    uint32_t nextProgress;

    // Optional, for callers that stream: the output goes to `sink` in pieces
    // instead of into one buffer (an encode, and LzariDecodeStream). Must
    // not throw. Null in a zeroed state.
    void (*sink)(void* context, const uint8_t* bytes, uint32_t count);
    void* sinkContext;
};

extern LzariState CodecState;

// Decodes a version 0 or 1 container of `size` bytes. Returns the decoded
// bytes (null for an empty file or on failure) and sets *length; `version`,
// `fileTimeLow/High` and `status` of the state tell the rest. Every call sets
// all three afresh: on any status but LzariOk, and for a magic that is
// "LZar" only when case is ignored, `version` is -1 and the FILETIME 0.
uint8_t* LzariDecode(const uint8_t* data, uint32_t size, uint32_t* length);
uint8_t* LzariDecodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length);

// The same into a caller's buffer, for a caller that must not need the heap:
// a stored size over `capacity` is LzariNoMemory. The buffer's contents are
// undefined unless the result is LzariOk.
LzariStatus LzariDecodeInto(LzariState* state, const uint8_t* data, uint32_t size, uint8_t* buffer, uint32_t capacity,
                            uint32_t* length);

// After a decode that returned bytes: the offset just past the coded stream
// that the encoder writes for them. A container from the encoder has its
// size field there; one with anything between stream and trailers does not.
uint32_t LzariCodedEnd(const LzariState* state);

// Encodes `size` bytes into a version 0 container. Null only when memory
// runs out (status LzariNoMemory), or always when the state has a sink: the
// container then goes there, in pieces of at most 1 MiB, and the status
// tells whether it all did.
uint8_t* LzariEncode(const uint8_t* data, uint32_t size, uint32_t* length);
uint8_t* LzariEncodeWith(LzariState* state, const uint8_t* data, uint32_t size, uint32_t* length);

// What the first four bytes of a container say.
enum LzariMagic {
    LzariMagicNone,      // fewer than four bytes, or no "LZar" even with case ignored
    LzariMagicVersion0,  // "LZar"
    LzariMagicVersion1,  // "LzaR"
    LzariMagicCaseless,  // "LZar" only when case is ignored: the version 0 layout
};

// A container's fixed parts: the magic in front, the trailers behind the
// coded stream (the decoded size, then in version 1 the file's FILETIME).
struct LzariContainer {
    LzariMagic magic;  // read even when the container is too short
    int32_t version;   // 0 or 1; -1 for a caseless magic, which vouches for none
    uint32_t decodedSize;
    uint32_t fileTimeLow;  // version 1 only, else 0
    uint32_t fileTimeHigh;
    uint32_t streamEnd;  // where the trailers begin: the end of an encoder's coded stream
};

// Reads the fixed parts of `size` bytes: LzariOk, LzariTooShort or
// LzariBadMagic. On failure all but `magic` are 0 and `version` is -1.
LzariStatus LzariDescribeContainer(const uint8_t* data, uint32_t size, LzariContainer* container);

// Streams a version 1 container out of an encode: the magic, the coded
// stream and the decoded size, then the FILETIME, all to `sink`. Fill in
// the first four fields, start it on the state (it takes the state's sink)
// before the encode, and finish it after an encode that succeeded.
struct LzariVersion1Writer {
    void (*sink)(void* context, const uint8_t* bytes, uint32_t count);
    void* sinkContext;
    uint32_t fileTimeLow;
    uint32_t fileTimeHigh;
    uint32_t magicTaken;  // bytes of the encoder's magic seen so far
};
void LzariStartVersion1(LzariState* state, LzariVersion1Writer* writer);
void LzariFinishVersion1(const LzariVersion1Writer* writer);

// The model's starting state, shared by both directions.
void StartModel(LzariState* state);
