// The codecs the benchmark compares, behind one interface.
#pragma once

#include <stdint.h>

#include <functional>
#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Codec {
    std::string name;
    std::function<Bytes(const Bytes& in)> compress;
    std::function<Bytes(const Bytes& packed, size_t original)> decompress;
    // Compresses on several threads: timed by the wall clock, not by CPU
    // time (its decompression is timed by CPU time, as the others).
    bool threads = false;
};

// This tree's LZARI codec (also as the lzari tool runs it: the threaded
// encoder and the streaming decoder), zlib level 6 and xz preset 6.
std::vector<Codec> BuiltInCodecs();

// LZARI from a shared library that scripts/bench.sh builds with
// codec_shim.cpp: an earlier commit's codec, or this tree's built as the
// i686 runtime builds it. False when it cannot be loaded (the message says
// why).
bool LoadCodec(const char* path, const char* name, Codec* codec, std::string* message);
