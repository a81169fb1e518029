// What the codec's fuzzers share: a failed check crashes the run, and a
// sink collects what a codec hands it.
#pragma once

#include <stdint.h>
#include <stdlib.h>

#include <vector>

inline void Check(bool ok) {
    if (!ok) abort();
}

// The codec's sink: appends to the std::vector<uint8_t> it is given.
inline void Collect(void* context, const uint8_t* bytes, uint32_t count) {
    std::vector<uint8_t>* collected = static_cast<std::vector<uint8_t>*>(context);
    collected->insert(collected->end(), bytes, bytes + count);
}
