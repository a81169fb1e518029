// Built by scripts/bench.sh, not by CMake: compiled with an earlier
// commit's codec/ into a shared library whose only exports are these two,
// so that its codec and this tree's can sit in one benchmark.
#include "codec/lzari.h"

#define EXPORTED extern "C" __attribute__((visibility("default")))

EXPORTED uint8_t* BaselineEncode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariEncode(data, size, length);
}

EXPORTED uint8_t* BaselineDecode(const uint8_t* data, uint32_t size, uint32_t* length) {
    return LzariDecode(data, size, length);
}
