// What both tools share: Windows file times and little-endian fields,
// against values worked out with Python's datetime and by hand.
#include <gtest/gtest.h>

#include <limits>
#include <optional>
#include <stdexcept>

#include "common/file_time.h"
#include "common/little_endian.h"

namespace {

struct UnixTimeCase {
    int64_t seconds;
    uint32_t nanoseconds;
    std::optional<uint64_t> fileTime;  // none: outside 1601 to 30828
    const char* text;                  // whole seconds
    const char* textWithFraction;
};

const UnixTimeCase UnixTimeCases[] = {
    {0, 0, 116444736000000000ULL, "1970-01-01T00:00:00Z", "1970-01-01T00:00:00Z"},
    {1714564800, 999999999, 133590384009999999ULL, "2024-05-01T12:00:00Z", "2024-05-01T12:00:00.9999999Z"},
    {-1, 500000000, 116444735995000000ULL, "1969-12-31T23:59:59Z", "1969-12-31T23:59:59.5Z"},
    {951782400, 0, 125962560000000000ULL, "2000-02-29T00:00:00Z", "2000-02-29T00:00:00Z"},
    {4102444800, 100, 157469184000000001ULL, "2100-01-01T00:00:00Z", "2100-01-01T00:00:00.0000001Z"},
    // The first and the last FILETIME Windows takes, and just outside them.
    {-11644473600, 0, 0, "1601-01-01T00:00:00Z", "1601-01-01T00:00:00Z"},
    {-11644473601, 999999999, std::nullopt, nullptr, nullptr},
    {910692730085, 477580799, 9223372036854775807ULL, "30828-09-14T02:48:05Z", "30828-09-14T02:48:05.4775807Z"},
    {910692730085, 477580800, std::nullopt, nullptr, nullptr},
    {std::numeric_limits<int64_t>::max(), 0, std::nullopt, nullptr, nullptr},
    {std::numeric_limits<int64_t>::min(), 0, std::nullopt, nullptr, nullptr},
    {0, 1000000000, std::nullopt, nullptr, nullptr},
};

TEST(FileTimes, ConvertBothWaysToTheTickAndRead) {
    for (const UnixTimeCase& c : UnixTimeCases) {
        SCOPED_TRACE(std::to_string(c.seconds) + "." + std::to_string(c.nanoseconds));
        const std::optional<uint64_t> fileTime = FileTimeOfUnix(c.seconds, c.nanoseconds);
        ASSERT_EQ(fileTime, c.fileTime);
        if (!fileTime) continue;
        const timespec back = UnixOfFileTime(*fileTime);
        EXPECT_EQ(back.tv_sec, c.seconds);
        EXPECT_EQ(back.tv_nsec, c.nanoseconds / 100 * 100);
        EXPECT_EQ(FileTimeOfUnix(back), fileTime);
        EXPECT_EQ(FileTimeText(*fileTime, Fraction::Dropped), c.text);
        EXPECT_EQ(FileTimeText(*fileTime, Fraction::Shown), c.textWithFraction);
    }
}

// A container may carry any 64 bits; they still read as a time.
TEST(FileTimes, ReadBeyondTheLastOneWindowsTakes) {
    EXPECT_EQ(UnixOfFileTime(UINT64_MAX).tv_sec, 1844674407370 - 11644473600);
    EXPECT_EQ(FileTimeText(UINT64_MAX, Fraction::Shown), "60056-05-28T05:36:10.9551615Z");
}

TEST(FileTimes, CountCalendarSeconds) {
    const struct {
        int year, month, day, hour, minute, second;
        int64_t seconds;
    } cases[] = {
        {1970, 1, 1, 0, 0, 0, 0},
        {2000, 2, 29, 23, 59, 59, 951868799},
        {1601, 1, 1, 0, 0, 0, -11644473600},
        {1600, 12, 31, 23, 59, 59, -11644473601},
        {2100, 3, 1, 0, 0, 0, 4107542400},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(UnixSeconds(c.year, c.month, c.day, c.hour, c.minute, c.second), c.seconds) << c.year;
    }
}

const uint8_t Nine[9] = {0x01, 0x02, 0x03, 0x04, 0x05, 0x06, 0x07, 0x08, 0x09};

TEST(LittleEndian, ReadsFieldsThatLieInside) {
    const struct {
        size_t at, count;
        uint64_t value;
    } cases[] = {
        {0, 2, 0x0201}, {7, 2, 0x0908}, {5, 4, 0x09080706}, {1, 8, 0x0908070605040302}, {9, 0, 0}, {3, 1, 0x04},
    };
    for (const auto& c : cases) {
        LittleEndianReader in(Nine, sizeof Nine);
        EXPECT_EQ(in.Read(c.at, c.count), c.value) << c.at << "+" << c.count;
        EXPECT_TRUE(in.ok()) << c.at << "+" << c.count;
    }
}

// The first read that does not lie wholly inside fails the reader for good.
TEST(LittleEndian, AFailedReadSticks) {
    const struct {
        size_t at, count;
    } outside[] = {{8, 2}, {6, 4}, {2, 8}, {10, 0}, {SIZE_MAX, 2}, {2, SIZE_MAX}, {0, 9}};
    for (const auto& c : outside) {
        LittleEndianReader in(Nine, sizeof Nine);
        EXPECT_EQ(in.Read(c.at, c.count), 0u) << c.at << "+" << c.count;
        EXPECT_FALSE(in.ok()) << c.at << "+" << c.count;
        EXPECT_EQ(in.U16(0), 0u) << c.at << "+" << c.count;
        EXPECT_FALSE(in.ok());
    }
}

TEST(LittleEndian, WritesFieldsInsideAndRefusesTheRestWhole) {
    std::vector<uint8_t> bytes(6, 0xEE);
    LittleEndianWriter out(bytes);
    out.Put16(0, 0xA1B2);
    out.Put32(2, 0x01020304);
    EXPECT_EQ(bytes, (std::vector<uint8_t>{0xB2, 0xA1, 0x04, 0x03, 0x02, 0x01}));
    const std::vector<uint8_t> before = bytes;
    EXPECT_THROW(out.Put32(3, 0xFFFFFFFF), std::out_of_range);
    EXPECT_THROW(out.Put16(SIZE_MAX, 0xFFFF), std::out_of_range);
    EXPECT_THROW(out.Write(0, 0, 9), std::out_of_range);
    EXPECT_EQ(bytes, before);

    AppendLittleEndian(bytes, 0x0102030405060708, 8);
    AppendLittleEndian(bytes, 0xABCD, 1);
    EXPECT_EQ(LittleEndianReader(bytes).U64(6), 0x0102030405060708u);
    EXPECT_EQ(bytes.back(), 0xCD);
    EXPECT_EQ(bytes.size(), 15u);
}

}  // namespace
