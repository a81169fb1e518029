// What the fixed parts of a payload container say: the magic at the front
// and the trailers at the end.
#pragma once

#include <stdint.h>

#include <string>

struct ContainerInfo {
    int version = 0;            // 0 ("LZar") or 1 ("LzaR")
    uint64_t containerSize = 0; // whole container, in bytes
    uint32_t decodedSize = 0;
    uint64_t fileTime = 0;      // version 1 only
};

// Bytes of the trailers: size field, and in version 1 the FILETIME.
inline uint64_t TrailersSize(int version) { return version == 1 ? 12 : 4; }

// Returns an empty string on success, otherwise the reason the bytes are
// not a usable container.
std::string DescribeContainer(const uint8_t* bytes, uint64_t size, ContainerInfo* info);
