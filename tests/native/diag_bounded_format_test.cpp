#include <gtest/gtest.h>
#include <limits.h>
#include <string.h>
#include <wchar.h>

#include <string>
#include <vector>

#include "diag/bounded_format.h"
#include "diag/report_text.h"

namespace {

struct FitCase {
    size_t bufferSize;
    size_t textLength;
    bool fits;
};

class BoundedFormatFit : public ::testing::TestWithParam<FitCase> {};

// The buffer sits inside a larger block whose tail must stay untouched.
TEST_P(BoundedFormatFit, ReportsFitAndNeverWritesPastTheBuffer) {
    const FitCase& c = GetParam();
    std::vector<unsigned char> block(c.bufferSize + 64, 0xA5);
    char* buffer = reinterpret_cast<char*>(block.data());
    std::string text(c.textLength, 'x');

    EXPECT_EQ(FormatBounded(buffer, c.bufferSize, "%s", text.c_str()), c.fits);
    for (size_t i = c.bufferSize; i < block.size(); ++i) ASSERT_EQ(block[i], 0xA5) << "byte " << i << " written";
    if (c.fits) { EXPECT_EQ(std::string(buffer), text); }
    if (c.bufferSize > 0) { EXPECT_LT(strlen(buffer), c.bufferSize); }  // always terminated inside
}

INSTANTIATE_TEST_SUITE_P(Lengths, BoundedFormatFit,
                         ::testing::Values(FitCase{ReportTextSize, 1023, true}, FitCase{ReportTextSize, 1024, false},
                                           FitCase{ReportTextSize, 5000, false}, FitCase{1, 0, true},
                                           FitCase{1, 1, false}, FitCase{0, 0, false}));

TEST(BoundedFormat, FormattingFailureIsRefused) {
    // A lone surrogate cannot be converted to a multibyte string.
    char buffer[32];
    const wchar_t bad[] = {static_cast<wchar_t>(0xD800), 0};
    EXPECT_FALSE(FormatBounded(buffer, sizeof buffer, "%ls", bad));
}

TEST(ReportTitle, FitsForEveryCode) {
    char title[ReportTitleSize];
    ASSERT_TRUE(FormatReportTitle(title, 412));
    EXPECT_STREQ(title, "Fatal Error Code 412");
    ASSERT_TRUE(FormatReportTitle(title, INT32_MIN));  // the longest
    EXPECT_STREQ(title, "Fatal Error Code -2147483648");
}

}  // namespace
