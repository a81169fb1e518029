#include "tools/lzari/input_bytes.h"

#include "tools/common/platform.h"

namespace {

// Pages this near the codec's position stay: a few more faults would cost
// more than they save. The encoder's tree thread reads up to 1 MiB ahead.
constexpr uint64_t KeptBehind = 1u << 20;
constexpr uint64_t KeptAhead = 4u << 20;

}  // namespace

InputBytes::~InputBytes() {
    if (mapped_) platform::UnmapFile(mapped_, size_);
}

const uint8_t* InputBytes::data() const {
    static const uint8_t NoBytes[1] = {0};
    if (mapped_) return mapped_;
    return read_.empty() ? NoBytes : read_.data();
}

void InputBytes::Release(uint64_t position) {
    if (!mapped_) return;
    // Before they start, the threaded encoder samples the whole input and
    // the decoder reads the trailers: whole large pages may have come in.
    if (!startSeen_ && position + KeptAhead < size_) platform::DropPages(mapped_, position + KeptAhead, size_);
    startSeen_ = true;
    if (position < released_ + 2 * KeptBehind) return;
    platform::DropPages(mapped_, released_, position - KeptBehind);
    released_ = position - KeptBehind;
}

void InputBytes::Forget(uint64_t begin, uint64_t end) {
    if (mapped_) platform::DropPages(mapped_, begin, end);
}
