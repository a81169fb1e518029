// Compiled against the baseline tree, whose codec lives in namespace baseline.
#include <stddef.h>
#include <stdint.h>

namespace baseline {
#include "codec/lzari.h"
}

#include "baseline_codec.h"

uint8_t* BaselineEncode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return baseline::LzariEncode(data, size, length);
}

uint8_t* BaselineDecode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return baseline::LzariDecode(data, size, length);
}
