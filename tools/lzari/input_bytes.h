// An input's whole content for the codec: a regular file mapped, so that
// only the part being worked on takes memory, or anything else read into
// memory.
#pragma once

#include <stddef.h>
#include <stdint.h>

#include <vector>

class InputBytes {
public:
    explicit InputBytes(std::vector<uint8_t> bytes) : read_(std::move(bytes)) {}
    InputBytes(const uint8_t* mapped, size_t size) : mapped_(mapped), size_(size) {}
    ~InputBytes();
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;

    // Never null, even when empty: the codec takes a pointer.
    const uint8_t* data() const;
    size_t size() const { return mapped_ ? size_ : read_.size(); }

    // The codec has come to `position`: the mapped pages well behind it
    // may go, and at the first call those well ahead (they are read again,
    // should they be needed).
    void Release(uint64_t position);
    // Bytes from `begin` to `end` have been looked at and are not needed
    // soon: their mapped pages may go (they are read again if they are).
    void Forget(uint64_t begin, uint64_t end);

private:
    std::vector<uint8_t> read_;
    const uint8_t* mapped_ = nullptr;
    size_t size_ = 0;
    uint64_t released_ = 0;
    bool startSeen_ = false;
};
