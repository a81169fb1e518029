// LZARI decoder: reads a container and rebuilds the file in one allocation
// of exactly the stored size. It reads no byte outside the container and
// writes none past the stored size; a stream that would need either is
// reported as damaged and its output freed.
#include <stdlib.h>
#include <string.h>

#include "codec/interval.h"
#include "codec/model.h"

// Upper bound on the bytes one coded byte can yield. After every step the
// coder's interval is wider than a quarter of its range, and a step narrows
// it at least to the symbol's share plus one unit in 2^15. The likeliest
// literal has at most (0x7FFF - 313) / 0x7FFF of the total, so it costs at
// least 0.0138 bits, at most 73 bytes per bit or 584 per coded byte; a match
// pays over 9 bits for its position and yields at most 60 bytes. A size
// field that claims more than this bound for the stream that carries it
// cannot be met, and the output area for it is never allocated.
enum { MaxTextPerStreamByte = 1024 };

// The coder in registers. The code value is kept as its distance from low:
// the doublings then only shift code bits into it, whichever way the
// interval moved. Bits are counted from the start of the stream; past the
// end of the container they read as 0.
struct Reader {
    uint32_t low, high, offset;
    uint64_t bitsRead;
};

static inline uint32_t ReadBe32(const uint8_t* p) {
    return (uint32_t)p[0] << 24 | (uint32_t)p[1] << 16 | (uint32_t)p[2] << 8 | p[3];
}

// The `count` (at most 17) bits after the first `bitsRead` of the stream.
static inline uint32_t PeekBits(const LzariState* state, uint64_t bitsRead, unsigned count) {
    uint64_t at = MagicLength + (bitsRead >> 3);
    uint32_t window = 0;
    if (at + 4 <= state->inputSize) {
        window = ReadBe32(state->input + at);
    } else {
        for (uint64_t i = at; i < at + 4; i++) window = window << 8 | (i < state->inputSize ? state->input[i] : 0);
    }
    window <<= bitsRead & 7;
    return (window >> 1) >> (31 - count);
}

static inline uint64_t StreamBits(const LzariState* state) {
    return 8 * (uint64_t)(state->inputSize - MagicLength);
}

// The state keeps the byte-wise reader: the byte last loaded, the mask of
// its last bit read, and whether a load found the container's end.
static Reader LoadReader(const LzariState* state) {
    Reader r;
    r.low = state->low;
    r.high = state->high;
    r.offset = state->value - state->low;
    unsigned unread = state->bitMask ? TrailingZeros(state->bitMask) : 0;
    uint64_t loaded = state->inputExhausted ? StreamBits(state) / 8 + 1 : state->inputPos - MagicLength;
    r.bitsRead = 8 * loaded - unread;
    return r;
}

static void StoreReader(LzariState* state, const Reader& r) {
    state->low = r.low;
    state->high = r.high;
    state->value = r.low + r.offset;
    state->inputExhausted = r.bitsRead > StreamBits(state);
    uint64_t loaded = (r.bitsRead + 7) / 8;
    state->inputPos = MagicLength + (uint32_t)(state->inputExhausted ? StreamBits(state) / 8 : loaded);
    state->bitMask = r.bitsRead ? (uint8_t)(0x80 >> ((r.bitsRead - 1) & 7)) : 0;
    state->bitBuffer = r.bitsRead && !state->inputExhausted ? state->input[state->inputPos - 1] : 0;
}

int GetBit(LzariState* state) {
    Reader r = LoadReader(state);
    int bit = (int)PeekBits(state, r.bitsRead++, 1);
    StoreReader(state, r);
    return bit;
}

void StartDecoder(LzariState* state) {
    state->outCount = 0;
    state->low = 0;
    state->high = Top;
    state->value = PeekBits(state, 0, 17);
    Reader r = {0, Top, state->value, 17};
    StoreReader(state, r);
    StartModel(state);
}

// Narrows the interval to [low + below, low + above) and renormalises it,
// shifting a code bit into the offset per doubling.
static inline void Narrow(const LzariState* state, Reader& r, uint32_t above, uint32_t below) {
    Rescaled n = Rescale(r.low + below, r.low + above);
    r.offset = (r.offset - below) << n.shifts | PeekBits(state, r.bitsRead, n.shifts);
    r.bitsRead += n.shifts;
    r.low = n.low;
    r.high = n.high;
}

// Where the code falls among `total` units of the interval. The offset
// stays below the range, so this is below `total`.
static inline uint32_t ScaledValue(const Reader& r, uint32_t range, uint32_t total) {
    return ((r.offset + 1) * total - 1) / range;
}

static ALWAYS_INLINE int NextChar(LzariState* state, CumTable* cum, Reader& r) {
    uint32_t range = r.high - r.low;
    uint32_t total = CumAt(*cum, 0);
    Divisor divisor(total);
    int s = SymbolAt(*cum, ScaledValue(r, range, total));
    Narrow(state, r, divisor.Share(range, CumAt(*cum, s - 1)), divisor.Share(range, CumAt(*cum, s)));
    int ch = state->charOfSymbol[s];
    CountSymbol(state, cum, s);
    return ch;
}

static ALWAYS_INLINE int NextPosition(const LzariState* state, Reader& r) {
    uint32_t range = r.high - r.low;
    int p = PositionAt(state, ScaledValue(r, range, PositionTotal));
    Narrow(state, r, range * state->positionCum[p] / PositionTotal,
           range * state->positionCum[p + 1] / PositionTotal);
    return p;
}

int DecodeChar(LzariState* state) {
    Reader r = LoadReader(state);
    CumTable cum;
    LoadCumTable(state, &cum);
    int ch = NextChar(state, &cum, r);
    StoreCumTable(state, cum);
    StoreReader(state, r);
    return ch;
}

int DecodePosition(LzariState* state) {
    Reader r = LoadReader(state);
    int p = NextPosition(state, r);
    StoreReader(state, r);
    return p;
}

// Copies `length` bytes from `distance` back, byte by byte in effect, so an
// overlapping source repeats itself. Before the first output byte lies the
// ring as the decode found it: spaces, then what an earlier run left.
static inline void CopyMatch(const LzariState* state, uint8_t* out, uint32_t at, uint32_t distance,
                             uint32_t length) {
    uint8_t* to = out + at;
    if (distance > at) {
        for (uint32_t k = 0; k < length; k++, at++) {
            to[k] = at >= distance ? out[at - distance]
                                   : state->ring[(RingFill + at - distance) & (RingSize - 1)];
        }
        return;
    }
    const uint8_t* from = to - distance;
    uint32_t k = 0;
    if (length + 7 > state->textSize - at) {  // no room to copy in words
        for (; k < length; k++) to[k] = from[k];
        return;
    }
    // A source nearer than 8 bytes repeats with its distance: any multiple
    // of it at least 8 back holds the same bytes, and is copied in words.
    uint32_t period = distance;
    while (period < 8) period += distance;
    if (distance < 8) {
        for (; k < period && k < length; k++) to[k] = from[k];
    }
    for (; k < length; k += 8) memcpy(to + k, to + k - period, 8);  // may run past, not past textSize
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
    const uint64_t streamBits = StreamBits(state);
    uint8_t* out = state->output;
    uint32_t count = 0;
    bool whole = true;
    while (count < state->textSize) {
        if (r.bitsRead > streamBits) break;
        ReportProgress(state, count, state->textSize);
        int ch = NextChar(state, &cum, r);
        if (ch < 256) {
            out[count++] = (uint8_t)ch;
            continue;
        }
        uint32_t distance = (uint32_t)NextPosition(state, r) + 1;
        uint32_t length = (uint32_t)(ch - 253);  // characters 256..313: lengths 3..60
        if (length > state->textSize - count) {
            whole = false;
            break;
        }
        CopyMatch(state, out, count, distance, length);
        count += length;
    }
    state->outCount = count;
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

LzariStatus LzariDecodeInto(LzariState* state, const uint8_t* data, uint32_t size, uint8_t* buffer,
                            uint32_t capacity, uint32_t* length) {
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
