#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "diag/bounded_format.h"
#include "diag/report_text.h"

namespace {

const unsigned char Guard = 0xA5;
const size_t GuardSize = 64;

struct FitCase {
    size_t bufferSize;
    size_t textLength;
    bool fits;
};

class BoundedFormatFit : public ::testing::TestWithParam<FitCase> {};

// The buffer sits inside a larger block whose tail must stay untouched.
TEST_P(BoundedFormatFit, ReportsFitAndNeverWritesPastTheBuffer) {
    const FitCase& c = GetParam();
    std::vector<unsigned char> block(c.bufferSize + GuardSize, Guard);
    char* buffer = reinterpret_cast<char*>(block.data());
    std::string text(c.textLength, 'x');

    EXPECT_EQ(FormatBounded(buffer, c.bufferSize, "%s", text.c_str()), c.fits);

    for (size_t i = c.bufferSize; i < block.size(); ++i) {
        ASSERT_EQ(block[i], Guard) << "byte " << i - c.bufferSize << " past the buffer";
    }
    if (c.fits) {
        EXPECT_EQ(std::string(buffer), text);
    }
    if (c.bufferSize > 0) {
        EXPECT_LT(strlen(buffer), c.bufferSize);  // always terminated inside
    }
}

INSTANTIATE_TEST_SUITE_P(
    Lengths, BoundedFormatFit,
    ::testing::Values(FitCase{ReportTextSize, 1023, true}, FitCase{ReportTextSize, 1024, false},
                      FitCase{ReportTextSize, 1025, false}, FitCase{ReportTextSize, 5000, false},
                      FitCase{ReportTextSize, 0, true}, FitCase{1, 0, true},
                      FitCase{1, 1, false}, FitCase{0, 0, false}));

TEST(BoundedFormat, FormatsArgumentsLikePrintf) {
    char buffer[ReportTextSize];
    ASSERT_TRUE(FormatBounded(buffer, sizeof buffer, "can't find resource %s\nWin Err Code %i: %s",
                              "LOGO", 1814, "resource name not found"));
    EXPECT_STREQ(buffer, "can't find resource LOGO\nWin Err Code 1814: resource name not found");
}

TEST(BoundedFormat, ArgumentsThatOverflowAreRefused) {
    // The format alone is short; the expanded text is what must not fit.
    char buffer[ReportTextSize];
    std::string name(1000, 'n');
    EXPECT_FALSE(FormatBounded(buffer, sizeof buffer, "can't create file %s\nWin Err Code %i: %s",
                               name.c_str(), 5, "access denied"));
}

TEST(BoundedFormat, FormattingFailureIsRefused) {
    // A lone surrogate cannot be converted to a multibyte string.
    char buffer[32];
    const wchar_t bad[] = {static_cast<wchar_t>(0xD800), 0};
    EXPECT_FALSE(FormatBounded(buffer, sizeof buffer, "%ls", bad));
}

struct TitleCase {
    int32_t code;
    const char* expected;
};

class ReportTitle : public ::testing::TestWithParam<TitleCase> {};

TEST_P(ReportTitle, FitsForEveryCode) {
    char title[ReportTitleSize];
    ASSERT_TRUE(FormatReportTitle(title, GetParam().code));
    EXPECT_STREQ(title, GetParam().expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ReportTitle,
    ::testing::Values(TitleCase{412, "Fatal Error Code 412"}, TitleCase{0, "Fatal Error Code 0"},
                      TitleCase{-1, "Fatal Error Code -1"},
                      TitleCase{INT32_MAX, "Fatal Error Code 2147483647"},
                      TitleCase{INT32_MIN, "Fatal Error Code -2147483648"}));

}  // namespace
