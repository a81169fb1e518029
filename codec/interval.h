// Renormalising the coder's interval in one step instead of one doubling at
// a time. Shared by decoder and encoder; bench/interval_proof.cpp checks it
// against both bit loops for every interval the coder can hold.
#pragma once

#include "codec/lzari.h"

static inline unsigned LeadingZeros(uint32_t x) {  // x != 0
#if defined(__GNUC__)
    return (unsigned)__builtin_clz(x);
#else
    unsigned n = 0;
    for (; !(x & 0x80000000u); x <<= 1) n++;
    return n;
#endif
}

// The interval [low, high) after its doublings, and how many there were.
// The first `settled` doublings shift out the leading bits that low and
// high - 1 share: each settles one code bit, the bit of low. The rest find
// the interval straddling the middle within [Quarter, ThreeQuarters): low's
// next bits are 1 where high - 1's are 0. Once settled, the interval never
// lies in one half again, so the doublings always come in this order.
struct Rescaled {
    uint32_t low, high;
    unsigned settled;
    unsigned shifts;  // settled ones first, then straddling ones
};

static inline Rescaled Rescale(uint32_t low, uint32_t high) {  // low < high <= Top
    uint32_t last = high - 1;
    // 17 when low == last: the interval is then one unit wide.
    unsigned settled = LeadingZeros(((low ^ last) << 15) | 0x4000);
    uint32_t straddling = ((low & ~last) << 16) << settled;
    unsigned shifts = settled + LeadingZeros(~straddling);  // ~straddling keeps 16 low ones
    Rescaled r;
    r.low = (low << shifts) & (Half - 1);
    r.high = ((((last << shifts) | ((1u << shifts) - 1)) & (Half - 1)) | Half) + 1;
    r.settled = settled;
    r.shifts = shifts;
    return r;
}

// range * count / total rounded down, for the symbol total, which changes
// with every symbol. Where the compiler has a 64 x 64 -> 128 multiply (the
// x64 builds), the high half of a product with ceil(2^64 / total) replaces
// the division and is exact: range * count < 2^32 and total < 2^16, so the
// product is the quotient plus less than 2^-32 on top of a fraction of at
// most 1 - 2^-16.
struct Divisor {
#if defined(__SIZEOF_INT128__)
    uint64_t inverse;
    explicit Divisor(uint32_t total) : inverse(UINT64_MAX / total + 1) {}  // total >= 2
    uint32_t Share(uint32_t range, uint32_t count) const {
        return (uint32_t)(((unsigned __int128)(range * count) * inverse) >> 64);
    }
#else
    uint32_t total;
    explicit Divisor(uint32_t t) : total(t) {}
    uint32_t Share(uint32_t range, uint32_t count) const {
        return range * count / total;
    }
#endif
};
