// Unix times to FILETIME, back, and as UTC text, against values worked out
// from the calendar and `date -u -d @SECONDS`.
#include <gtest/gtest.h>

#include "tool_harness.h"
#include "tools/lzari/file_times.h"

namespace {

struct TimeCase {
    int64_t seconds;
    long nanoseconds;
    const char* utc;  // nullptr: before 1601, no FILETIME
};

class FileTimes : public ::testing::TestWithParam<TimeCase> {};

TEST_P(FileTimes, ConvertBothWaysToTheTickAndFormat) {
    const TimeCase& c = GetParam();
    const auto fileTime = FileTimeFromUnix(timespec{static_cast<time_t>(c.seconds), c.nanoseconds});
    ASSERT_EQ(fileTime.has_value(), c.utc != nullptr);
    if (!c.utc) return;
    EXPECT_EQ(*fileTime, ExpectedFileTime(c.seconds, c.nanoseconds));
    const timespec back = UnixFromFileTime(*fileTime);
    EXPECT_EQ(back.tv_sec, c.seconds);
    EXPECT_EQ(back.tv_nsec, c.nanoseconds / 100 * 100);
    EXPECT_EQ(FormatFileTimeUtc(*fileTime), c.utc);
}

INSTANTIATE_TEST_SUITE_P(Cases, FileTimes,
                         ::testing::ValuesIn(std::vector<TimeCase>{
                             {0, 0, "1970-01-01T00:00:00Z"},
                             {1714564800, 999999999, "2024-05-01T12:00:00Z"},
                             {-1, 500000000, "1969-12-31T23:59:59Z"},
                             {951782400, 0, "2000-02-29T00:00:00Z"},
                             {-11644473600, 0, "1601-01-01T00:00:00Z"},
                             {4102444800, 100, "2100-01-01T00:00:00Z"},
                             {-11644473601, 999999999, nullptr},
                         }));

}  // namespace
