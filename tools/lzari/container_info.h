// What the fixed parts of a payload container say, read without decoding:
// the magic at the front and the trailers at the end.
#pragma once

#include <stdint.h>

#include <string>

struct ContainerInfo {
    int version = 0;            // 0 ("LZar") or 1 ("LzaR")
    uint64_t containerSize = 0; // whole container, in bytes
    uint32_t decodedSize = 0;
    uint64_t fileTime = 0;      // version 1 only
};

// Bytes needed from each end of a container to describe it.
constexpr int ContainerHeadSize = 4;
constexpr int ContainerTailSize = 12;

// Reads the magic from `head` and the trailers from `tail`, the last
// min(containerSize, ContainerTailSize) bytes. Returns an empty string on
// success, otherwise the reason the bytes are not a usable container.
std::string DescribeContainer(const uint8_t* head, const uint8_t* tail, uint64_t containerSize,
                              ContainerInfo* info);
