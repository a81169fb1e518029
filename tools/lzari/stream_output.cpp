#include "tools/lzari/stream_output.h"

#include "tools/common/platform.h"
#include "tools/lzari/file_error.h"
#include "tools/lzari/output_file.h"

namespace {

constexpr size_t HeldBack = 1u << 20;

}  // namespace

void StreamOutput::Take(const uint8_t* bytes, size_t count) noexcept {
    total_ += count;
    if (failure_) return;
    try {
        if (held_.size() + count > HeldBack) {
            Write(held_.data(), held_.size());
            held_.clear();
        }
        held_.insert(held_.end(), bytes, bytes + count);
    } catch (...) {
        failure_ = std::current_exception();
    }
}

void StreamOutput::Finish() {
    if (failure_) std::rethrow_exception(failure_);
    Write(held_.data(), held_.size());
    held_.clear();
}

void StreamOutput::Write(const uint8_t* bytes, size_t count) {
    if (file_) {
        file_->Write(bytes, count);
    } else if (!platform::WriteAll(platform::StandardOutput, bytes, count)) {
        throw SystemError("(stdout)");
    }
}
