// Unix times to FILETIME and back, against values worked out from the calendar.
#include <gtest/gtest.h>

#include "tool_harness.h"
#include "tools/lzari/file_times.h"

namespace {

struct TimeCase {
    const char* label;
    int64_t seconds;
    long nanoseconds;
};

class FileTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FileTimes, ConvertBothWaysToTheTick) {
    const TimeCase& c = GetParam();
    const auto fileTime = FileTimeFromUnix(timespec{static_cast<time_t>(c.seconds), c.nanoseconds});
    ASSERT_TRUE(fileTime.has_value());
    EXPECT_EQ(*fileTime, ExpectedFileTime(c.seconds, c.nanoseconds));
    const timespec back = UnixFromFileTime(*fileTime);
    EXPECT_EQ(back.tv_sec, c.seconds);
    EXPECT_EQ(back.tv_nsec, c.nanoseconds / 100 * 100);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileTimes,
                         ::testing::ValuesIn(std::vector<TimeCase>{
                             {"UnixEpoch", 0, 0},
                             {"SubTickNanosecondsDropped", 1714564800, 123456789},
                             {"LastTickOfASecond", 1714564800, 999999999},
                             {"BeforeUnixEpoch", -86400, 250000000},
                             {"FirstSecondOf1601", -11644473600, 0},
                             {"Year2100", 4102444800, 100},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(FileTimes, RejectTimesBefore1601) {
    EXPECT_FALSE(FileTimeFromUnix(timespec{-11644473601, 999999999}).has_value());
}

struct FormatCase {
    uint64_t fileTime;
    const char* text;  // from `date -u -d @SECONDS`
};

TEST(FileTimes, FormatAsUtc) {
    const FormatCase cases[] = {
        {0, "1601-01-01T00:00:00Z"},
        {ExpectedFileTime(1714564800, 999999999), "2024-05-01T12:00:00Z"},
        {ExpectedFileTime(-1, 0), "1969-12-31T23:59:59Z"},
        {ExpectedFileTime(951782400, 0), "2000-02-29T00:00:00Z"},
    };
    for (const FormatCase& c : cases) EXPECT_EQ(FormatFileTimeUtc(c.fileTime), c.text) << c.fileTime;
}

}  // namespace
