#include "tools/common/container_bytes.h"

#include <new>

namespace {

// A sink must not throw: a failed allocation is kept for afterwards.
struct Collected {
    std::vector<uint8_t> bytes;
    bool outOfMemory = false;
};

void Collect(void* context, const uint8_t* bytes, uint32_t count) noexcept {
    Collected* collected = static_cast<Collected*>(context);
    try {
        collected->bytes.insert(collected->bytes.end(), bytes, bytes + count);
    } catch (const std::bad_alloc&) {
        collected->outOfMemory = true;
    }
}

}  // namespace

std::optional<std::vector<uint8_t>> EncodeContainer(LzariState* state, const uint8_t* data, size_t size,
                                                    std::optional<uint64_t> fileTime) {
    Collected container;
    state->sink = Collect;
    state->sinkContext = &container;
    const uint64_t time = fileTime.value_or(0);
    LzariVersion1Writer writer{Collect, &container, static_cast<uint32_t>(time), static_cast<uint32_t>(time >> 32), 0};
    if (fileTime) LzariStartVersion1(state, &writer);
    uint32_t unused = 0;
    LzariEncodeWith(state, data, static_cast<uint32_t>(size), &unused);
    if (state->status == LzariOk && fileTime) LzariFinishVersion1(&writer);
    state->sink = nullptr;
    if (state->status != LzariOk || container.outOfMemory) return std::nullopt;
    return std::move(container.bytes);
}
