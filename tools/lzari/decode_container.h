// Decoding an input into the files it holds, shared by -d, -t and -l. An
// input is one container or several joined one after another (as `cat`
// joins them); each is a member, decoded in turn.
#pragma once

#include <stdint.h>

#include <string>
#include <vector>

#include "tools/lzari/container_info.h"

class InputBytes;
class InputFile;
class Progress;
class StreamOutput;

struct DecodedFile {
    uint64_t begin = 0;  // where the member lies in its input
    uint32_t length = 0;
    ContainerInfo info;
    // Null when the coded stream ends where the encoder ends it, right
    // before the trailers; otherwise what is wrong there.
    const char* endFault = nullptr;
};

// Decodes every member of an input file's content, which it checks is
// unchanged once decoded: a changed file is reported as such rather than as
// damaged. Throws FileError naming the input unless every member decodes;
// only the last may have an end fault. The bytes go to `output` as they come
// (null: nowhere).
std::vector<DecodedFile> DecodeInput(InputFile& input, Progress* progress, StreamOutput* output);

// Throws FileError naming `name` when bytes lie between stream and trailers.
void RequireCleanEnd(const std::string& name, const DecodedFile& decoded);
