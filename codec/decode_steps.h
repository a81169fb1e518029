// The decoder's steps, shared by the one-buffer decode (decoder.cpp) and
// the streaming one (stream_decoder.cpp): the bit reader, one symbol and
// one position, and the copy of a match.
#pragma once

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

[[maybe_unused]] static void StoreReader(LzariState* state, const Reader& r) {
    state->low = r.low;
    state->high = r.high;
    state->value = r.low + r.offset;
    state->inputExhausted = r.bitsRead > StreamBits(state);
    uint64_t loaded = (r.bitsRead + 7) / 8;
    state->inputPos = MagicLength + (uint32_t)(state->inputExhausted ? StreamBits(state) / 8 : loaded);
    state->bitMask = r.bitsRead ? (uint8_t)(0x80 >> ((r.bitsRead - 1) & 7)) : 0;
    state->bitBuffer = r.bitsRead && !state->inputExhausted ? state->input[state->inputPos - 1] : 0;
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
    return (r.offset * total + (total - 1)) / range;  // (offset + 1) * total - 1, one step sooner
}

static ALWAYS_INLINE int NextChar(LzariState* state, CumTable* cum, Reader& r) {
    uint32_t range = r.high - r.low;
    uint32_t total = cum->total;
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
    Narrow(state, r, range * state->positionCum[p] / PositionTotal, range * state->positionCum[p + 1] / PositionTotal);
    return p;
}

// Copies `length` bytes from `distance` back, byte by byte in effect, so an
// overlapping source repeats itself. Before the first output byte lies the
// ring as the decode found it: spaces, then what an earlier run left.
// `out` holds `room` bytes, of which whole words may be written up to the end.
static inline void CopyMatch(const LzariState* state, uint8_t* out, uint32_t at, uint32_t distance, uint32_t length,
                             uint32_t room) {
    uint8_t* to = out + at;
    if (distance > at) {
        for (uint32_t k = 0; k < length; k++, at++) {
            to[k] = at >= distance ? out[at - distance] : state->ring[(RingFill + at - distance) & (RingSize - 1)];
        }
        return;
    }
    const uint8_t* from = to - distance;
    uint32_t k = 0;
    if (length + 7 > room - at) {  // no room to copy in words
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
    for (; k < length; k += 8) memcpy(to + k, to + k - period, 8);  // may run past, not past room
}

// Reads the container's fixed parts for a decode: LzariOk when it may be
// decoded (an empty file reads nothing more), or why not. A size field that
// its stream could never yield is damage found before any allocation.
static inline LzariStatus OpenContainer(LzariState* state, const uint8_t* data, uint32_t size) {
    state->output = NULL;
    state->inputExhausted = false;
    LzariStatus located = LocateFields(state, data, size);
    if (located != LzariOk) return located;
    state->status = LzariOk;
    uint64_t streamBytes = state->inputSize - MagicLength;
    return (uint64_t)state->textSize > streamBytes * MaxTextPerStreamByte ? LzariDamaged : LzariOk;
}

// The decode loop: symbols into `out` from `*at` until the stored size is
// reached, the stream runs past the container, or a match would run past
// the stored size (false). `out` holds `room` bytes; `passOn(at, r)`, asked
// before every symbol, may hand bytes on and returns where the next goes.
template <typename PassOn>
static ALWAYS_INLINE bool DecodeSymbols(LzariState* state, uint8_t* out, uint32_t* at, uint32_t room, Reader& r,
                                        CumTable& cum, PassOn passOn) {
    const uint64_t streamBits = StreamBits(state);
    uint32_t count = 0, next = *at;
    bool whole = true;
    while (count < state->textSize) {
        if (r.bitsRead > streamBits) break;
        ReportProgress(state, count, state->textSize);
        next = passOn(next, r);
        int ch = NextChar(state, &cum, r);
        if (ch < 256) {
            out[next++] = (uint8_t)ch;
            count++;
            continue;
        }
        uint32_t distance = (uint32_t)NextPosition(state, r) + 1;
        uint32_t length = (uint32_t)(ch - MatchSymbolBase);
        if (length > state->textSize - count) {
            whole = false;
            break;
        }
        CopyMatch(state, out, next, distance, length, room);
        next += length;
        count += length;
    }
    state->outCount = count;
    *at = next;
    return whole;
}
