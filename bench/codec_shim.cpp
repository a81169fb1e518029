// Built by scripts/bench.sh, not by CMake: compiled with a codec/ (an
// earlier commit's, or this tree's with the i686 runtime's flags) into a
// shared library whose only exports are these two, so that several builds
// of the codec can sit in one benchmark.
#include "codec/lzari.h"

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED uint8_t* ShimEncode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncode(data, size, length);
}

EXPORTED uint8_t* ShimDecode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariDecode(data, size, length);
}
