// The codecs the benchmark compares, behind one interface.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

using Bytes = std::vector<uint8_t>;

struct Codec {
    std::string name;
    Bytes (*compress)(const Bytes& in);
    Bytes (*decompress)(const Bytes& packed, size_t original);
    // Compresses on several threads: timed by the wall clock, not by CPU
    // time (its decompression is timed by CPU time, as the others).
    bool threads = false;
};

// This tree's LZARI codec (also as the lzari tool runs it: the threaded
// encoder and the streaming decoder), zlib level 6 and xz preset 6.
std::vector<Codec> BuiltInCodecs();

// LZARI as an earlier commit had it, from a shared library that
// scripts/bench.sh builds with baseline_shim.cpp; false when it cannot be
// loaded (the message says why).
bool LoadBaseline(const char* path, Codec* codec, std::string* message);
