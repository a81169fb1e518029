#include "tools/lzari/codec_buffer.h"

#include "tools/lzari/input_bytes.h"
#include "tools/lzari/progress.h"

CodecRun::CodecRun(Progress* progress, const char* phase, InputBytes* encoded)
    : state_(std::make_unique<LzariState>()), progress_(progress), phase_(phase), encoded_(encoded) {
    state_->progress = Report;
    state_->progressContext = this;
}

void CodecRun::Done(uint64_t total) {
    progress_->Advance(phase_, total, total);
}

void CodecRun::Report(void* context, uint32_t done, uint32_t total) {
    const CodecRun* run = static_cast<const CodecRun*>(context);
    run->progress_->Advance(run->phase_, done, total);
    if (run->encoded_) run->encoded_->Release(done);
}
