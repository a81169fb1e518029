#include "common/little_endian.h"

#include <stdexcept>

namespace {

constexpr size_t WidestField = 8;

bool Inside(size_t at, size_t count, size_t size) {
    return at <= size && count <= size - at;
}

}  // namespace

bool LittleEndianReader::Has(size_t at, size_t count) {
    ok_ = ok_ && Inside(at, count, size_);
    return ok_;
}

uint64_t LittleEndianReader::Read(size_t at, size_t count) {
    if (count > WidestField) ok_ = false;
    if (!Has(at, count)) return 0;
    uint64_t value = 0;
    for (size_t i = count; i > 0; --i) value = value << 8 | bytes_[at + i - 1];
    return value;
}

void LittleEndianWriter::Write(size_t at, uint64_t value, size_t count) {
    if (count > WidestField || !Inside(at, count, size_)) {
        throw std::out_of_range("a little-endian field past the end of its buffer");
    }
    for (size_t i = 0; i < count; ++i) bytes_[at + i] = static_cast<uint8_t>(value >> (8 * i));
}

void AppendLittleEndian(std::vector<uint8_t>& bytes, uint64_t value, size_t count) {
    if (count > WidestField) throw std::out_of_range("a little-endian field wider than 8 bytes");
    for (size_t i = 0; i < count; ++i) bytes.push_back(static_cast<uint8_t>(value >> (8 * i)));
}
