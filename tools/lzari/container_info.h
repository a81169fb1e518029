// What the fixed parts of a payload container say, in the tool's terms.
#pragma once

#include <stdint.h>

#include <string>

struct ContainerInfo {
    int version = 0;             // 0 ("LZar") or 1 ("LzaR")
    uint64_t containerSize = 0;  // whole container, in bytes
    uint32_t decodedSize = 0;
    uint64_t fileTime = 0;   // version 1 only
    uint64_t streamEnd = 0;  // where the trailers begin
};

// Returns an empty string on success, otherwise the reason the bytes are
// not a usable container.
std::string DescribeContainer(const uint8_t* bytes, uint32_t size, ContainerInfo* info);
