// Reading a whole container into the file it holds, shared by -d, -t and -l.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tools/lzari/codec_buffer.h"
#include "tools/lzari/container_info.h"

class Progress;

struct DecodedFile {
    CodecBuffer bytes;  // null for an empty file
    uint32_t length = 0;
    ContainerInfo info;
    // Null when the coded stream ends where the encoder ends it, right
    // before the trailers; otherwise what is wrong there.
    const char* endFault = nullptr;
};

// Throws FileError naming `name` unless the whole container decodes.
DecodedFile DecodeContainer(const std::string& name, const std::vector<uint8_t>& container, Progress* progress);

// Throws FileError naming `name` when bytes lie between stream and trailers.
void RequireCleanEnd(const std::string& name, const DecodedFile& decoded);
