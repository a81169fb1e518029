// The codec's malloc'd results, owned and freed in one place.
#pragma once

#include <stdint.h>
#include <stdlib.h>

#include <memory>

#include "codec/lzari.h"

struct FreeBytes {
    void operator()(uint8_t* bytes) const { free(bytes); }
};
using CodecBuffer = std::unique_ptr<uint8_t, FreeBytes>;

// The codec's state is tens of kilobytes: keep it off the stack.
std::unique_ptr<LzariState> NewCodecState();
