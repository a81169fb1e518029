// Little-endian fields in byte buffers, every access bounds-checked: the
// tools' one reader and writer of the binary formats they handle.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

// Reads fields from bytes it does not own. A read that does not lie wholly
// inside them fails the reader: from then on every read gives 0 and ok()
// is false, so a parser may read on and check once.
class LittleEndianReader {
public:
    LittleEndianReader(const uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    explicit LittleEndianReader(const std::vector<uint8_t>& bytes) : LittleEndianReader(bytes.data(), bytes.size()) {}
    explicit LittleEndianReader(const std::string& bytes)
        : LittleEndianReader(reinterpret_cast<const uint8_t*>(bytes.data()), bytes.size()) {}

    bool ok() const { return ok_; }
    void Fail() { ok_ = false; }
    // Whether `count` bytes at `at` lie inside; fails the reader when not.
    bool Has(size_t at, size_t count);

    uint64_t Read(size_t at, size_t count);  // count <= 8
    uint16_t U16(size_t at) { return static_cast<uint16_t>(Read(at, 2)); }
    uint32_t U32(size_t at) { return static_cast<uint32_t>(Read(at, 4)); }
    uint64_t U64(size_t at) { return Read(at, 8); }

private:
    const uint8_t* bytes_;
    size_t size_;
    bool ok_ = true;
};

// Writes fields into bytes it does not own; a field that would not lie
// wholly inside them throws std::out_of_range and writes nothing.
class LittleEndianWriter {
public:
    LittleEndianWriter(uint8_t* bytes, size_t size) : bytes_(bytes), size_(size) {}
    explicit LittleEndianWriter(std::vector<uint8_t>& bytes) : LittleEndianWriter(bytes.data(), bytes.size()) {}
    explicit LittleEndianWriter(std::string& bytes)
        : LittleEndianWriter(reinterpret_cast<uint8_t*>(bytes.data()), bytes.size()) {}

    void Write(size_t at, uint64_t value, size_t count);  // count <= 8
    void Put16(size_t at, uint32_t value) { Write(at, value, 2); }
    void Put32(size_t at, uint32_t value) { Write(at, value, 4); }
    void Put64(size_t at, uint64_t value) { Write(at, value, 8); }

private:
    uint8_t* bytes_;
    size_t size_;
};

// Appends the `count` (at most 8) low bytes of `value`, lowest first.
void AppendLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, size_t count);
