// Reading a whole container into the file it holds, shared by -d and -t.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/container_info.h"

struct DecodedFile {
    CodecBuffer bytes;  // null for an empty file
    uint32_t length = 0;
    ContainerInfo info;
};

// Throws FileError naming `path` unless the whole container decodes.
DecodedFile DecodeContainer(const std::string& path, const std::vector<uint8_t>& container);

// The description of the container's fixed parts, from its bytes in memory.
ContainerInfo DescribeContainerBytes(const std::string& path, const std::vector<uint8_t>& container);
