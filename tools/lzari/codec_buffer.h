// The state a codec call works in.
#pragma once

#include <stdint.h>

#include <memory>

#include "codec/lzari.h"

class InputBytes;
class Progress;

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
