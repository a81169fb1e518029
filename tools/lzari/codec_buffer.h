// The codec's malloc'd results, owned and freed in one place, and the
// state a codec call works in.
#pragma once

#include <stdint.h>
#include <stdlib.h>

#include <memory>

#include "codec/lzari.h"

class InputBytes;
class Progress;

struct FreeBytes {
    void operator()(uint8_t* bytes) const { free(bytes); }
};
using CodecBuffer = std::unique_ptr<uint8_t, FreeBytes>;

// A codec state (tens of kilobytes: kept off the stack) whose calls show
// their progress as `phase` of `progress`. When encoding, progress counts
// input bytes: the input behind it is released as the encoder moves on.
class CodecRun {
public:
    CodecRun(Progress* progress, const char* phase, InputBytes* encoded = nullptr);
    CodecRun(const CodecRun&) = delete;
    CodecRun& operator=(const CodecRun&) = delete;

    LzariState* state() { return state_.get(); }
    // Shows the phase complete: the codec's last report may fall short.
    void Done(uint64_t total);

private:
    static void Report(void* context, uint32_t done, uint32_t total);

    std::unique_ptr<LzariState> state_;
    Progress* progress_;
    const char* phase_;
    InputBytes* encoded_;
};
