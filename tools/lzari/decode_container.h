// Decoding a whole container into the file it holds, shared by -d, -t and -l.
#pragma once

#include <stdint.h>

#include <string>

#include "tools/lzari/container_info.h"

class InputBytes;
class InputFile;
class Progress;
class StreamOutput;

struct DecodedFile {
    uint32_t length = 0;
    ContainerInfo info;
    // Null when the coded stream ends where the encoder ends it, right
    // before the trailers; otherwise what is wrong there.
    const char* endFault = nullptr;
};

// Throws FileError naming `name` unless the whole container decodes. The
// bytes go to `output` as they come (null: nowhere).
DecodedFile DecodeContainer(const std::string& name, InputBytes& container, Progress* progress, StreamOutput* output);

// The same for an input file's content, which it checks is unchanged once
// decoded: a changed file is reported as such rather than as damaged.
DecodedFile DecodeInput(InputFile& input, Progress* progress, StreamOutput* output);

// Throws FileError naming `name` when bytes lie between stream and trailers.
void RequireCleanEnd(const std::string& name, const DecodedFile& decoded);
