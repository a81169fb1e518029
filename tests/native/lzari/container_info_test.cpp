// Telling containers apart by their fixed parts, without decoding.
#include <gtest/gtest.h>

#include "tools/lzari/container_info.h"

namespace {

struct DescribeCase {
    const char* label;
    std::string bytes;
    const char* cause;  // "" when the bytes describe a container
    int version;
    uint32_t decodedSize;
    uint64_t fileTime;
};

std::string Le32(uint32_t value) {
    std::string bytes;
    for (int i = 0; i < 4; ++i) bytes += static_cast<char>(value >> (8 * i) & 0xFF);
    return bytes;
}

class Describe : public ::testing::TestWithParam<DescribeCase> {};

TEST_P(Describe, ReadsMagicAndTrailers) {
    const DescribeCase& c = GetParam();
    // Exact-size heap copies, so that ASan catches a read outside them.
    const size_t tailSize = c.bytes.size() < ContainerTailSize ? c.bytes.size() : ContainerTailSize;
    std::vector<uint8_t> head(c.bytes.begin(), c.bytes.begin() + std::min<size_t>(c.bytes.size(), 4));
    std::vector<uint8_t> tail(c.bytes.end() - static_cast<long>(tailSize), c.bytes.end());
    ContainerInfo info;
    EXPECT_EQ(DescribeContainer(head.data(), tail.data(), c.bytes.size(), &info), c.cause);
    if (*c.cause) return;
    EXPECT_EQ(info.version, c.version);
    EXPECT_EQ(info.decodedSize, c.decodedSize);
    EXPECT_EQ(info.fileTime, c.fileTime);
    EXPECT_EQ(info.containerSize, c.bytes.size());
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Describe,
    ::testing::ValuesIn(std::vector<DescribeCase>{
        {"Version0", "LZar" + std::string("\x12\x34") + Le32(77), "", 0, 77, 0},
        {"Version0NoStream", "LZar" + Le32(0), "", 0, 0, 0},
        {"Version1", "LzaR" + std::string("\xAB") + Le32(5) + Le32(0x89ABCDEF) + Le32(0x01234567), "", 1, 5,
         0x0123456789ABCDEFull},
        {"Version1NoStream", "LzaR" + Le32(9) + Le32(1) + Le32(2), "", 1, 9, 0x0000000200000001ull},
        {"Version0TooShort", "LZar" + std::string("\0\0\0", 3), "container too short", 0, 0, 0},
        // Long enough for version 0, not for version 1's two trailers.
        {"Version1TooShort", "LzaR" + Le32(0) + Le32(0) + std::string("\0\0\0", 3), "container too short", 0, 0, 0},
        {"ShorterThanTheMagic", "LZ", "container too short", 0, 0, 0},
        {"Empty", "", "container too short", 0, 0, 0},
        {"OtherCaseOfTheMagic", "lzar" + Le32(0) + Le32(0), "unknown container version", 0, 0, 0},
        {"ForeignMagic", "\x1F\x8B\x08\x00" + Le32(0) + Le32(0), "not an LZARI container", 0, 0, 0},
    }),
    [](const auto& info) { return std::string(info.param.label); });

}  // namespace
