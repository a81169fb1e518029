// Formatting and error texts as the Windows C library produces them.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "diag/bounded_format.h"
#include "diag/error_text.h"
#include "diag/fatal.h"
#include "diag/report_text.h"

namespace {

struct FitCase {
    size_t textLength;
    bool fits;
};

class WindowsBoundedFormat : public ::testing::TestWithParam<FitCase> {};

TEST_P(WindowsBoundedFormat, LimitIsTheSameAsOnLinux) {
    const size_t guardSize = 64;
    std::vector<unsigned char> block(ReportTextSize + guardSize, 0xA5);
    char* buffer = reinterpret_cast<char*>(block.data());
    std::string text(GetParam().textLength, 'w');

    EXPECT_EQ(FormatBounded(buffer, ReportTextSize, "%s", text.c_str()), GetParam().fits);
    for (size_t i = ReportTextSize; i < block.size(); ++i) ASSERT_EQ(block[i], 0xA5);
    EXPECT_LT(strlen(buffer), static_cast<size_t>(ReportTextSize));
}

// 1024 characters is exactly where the C library's own snprintf stops
// terminating the buffer.
INSTANTIATE_TEST_SUITE_P(Lengths, WindowsBoundedFormat,
                         ::testing::Values(FitCase{1022, true}, FitCase{1023, true},
                                           FitCase{1024, false}, FitCase{1025, false},
                                           FitCase{4096, false}));

struct ErrorCase {
    DWORD error;
    const char* expected;
};

TEST(WindowsErrorText, WindowsErrorNumbersAsTheReportShowsThem) {
    const ErrorCase cases[] = {
        {ERROR_FILE_NOT_FOUND, "file not found"},
        {0xFFFFFFF8u, "LZ unknown alg"},
        {0x80000005u, "unknown error code -2147483643"},
        {0x80000000u, "unknown error code -2147483648"},
        {35, "unknown error code 35"},
    };
    for (const ErrorCase& c : cases) EXPECT_STREQ(ErrorText(c.error), c.expected) << c.error;
}

class WindowTextTest : public ::testing::Test {
protected:
    void SetUp() override {
        window_ = CreateWindowExA(0, "STATIC", "before", WS_POPUP, 0, 0, 100, 20, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
        ASSERT_NE(window_, nullptr);
    }
    void TearDown() override { DestroyWindow(window_); }

    std::string Text() const {
        char text[2048] = {};
        int length = GetWindowTextA(window_, text, sizeof text);
        return std::string(text, length);
    }

    HWND window_ = NULL;
};

TEST_F(WindowTextTest, SetsTheIntroText) {
    WindowText(window_, "This program will install\nVersion %s of %s\n%s\n", "0.7", "Quillmere",
               "A test product\nby Pellbrook\nLantry, Ohio");
    EXPECT_EQ(Text(),
              "This program will install\nVersion 0.7 of Quillmere\nA test product\nby Pellbrook\n"
              "Lantry, Ohio\n");
}

TEST_F(WindowTextTest, LongestTextThatFitsIsSetWhole) {
    const size_t lengths[] = {1020, 1021};  // plus the two characters of the format
    for (size_t length : lengths) {
        std::string middle(length, 'q');
        WindowText(window_, "<%s>", middle.c_str());
        EXPECT_EQ(Text(), "<" + middle + ">") << length;
    }
}

}  // namespace
