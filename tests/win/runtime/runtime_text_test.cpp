// Bounded formatting as the Windows C library does it, and window texts.
#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "diag/bounded_format.h"
#include "diag/fatal.h"
#include "diag/report_text.h"

namespace {

// 1024 characters is exactly where the C library's own snprintf stops
// terminating the buffer.
TEST(WindowsBoundedFormat, LimitIsTheSameAsOnLinux) {
    for (size_t length : {1023, 1024, 4096}) {
        std::vector<unsigned char> block(ReportTextSize + 64, 0xA5);
        char* buffer = reinterpret_cast<char*>(block.data());
        EXPECT_EQ(FormatBounded(buffer, ReportTextSize, "%s", std::string(length, 'w').c_str()), length < 1024);
        for (size_t i = ReportTextSize; i < block.size(); ++i) ASSERT_EQ(block[i], 0xA5) << length;
        EXPECT_LT(strlen(buffer), static_cast<size_t>(ReportTextSize)) << length;
    }
}

TEST(WindowText, LongestTextThatFitsIsSetWhole) {
    HWND window = CreateWindowExA(0, "STATIC", "before", WS_POPUP, 0, 0, 100, 20, NULL, NULL,
                                  GetModuleHandleA(NULL), NULL);
    ASSERT_NE(window, nullptr);
    const std::string middle(1021, 'q');  // with the two characters of the format, 1023
    WindowText(window, "<%s>", middle.c_str());
    char text[2048] = {};
    const int length = GetWindowTextA(window, text, sizeof text);
    EXPECT_EQ(std::string(text, length), "<" + middle + ">");
    DestroyWindow(window);
}

}  // namespace
