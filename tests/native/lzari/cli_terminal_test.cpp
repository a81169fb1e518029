// The progress line shown on a terminal for large inputs.
#include <gtest/gtest.h>

#include "tool_harness.h"

namespace {

class ProgressLine : public ::testing::TestWithParam<size_t> {};

// Shown only above 4 MiB, and blanked at the end, so that nothing is left
// after the last "\r".
TEST_P(ProgressLine, AppearsOnlyForLargeInputs) {
    TempFolder folder;
    folder.Write("big", TextBytes(GetParam()));
    const ToolResult result = folder.Run({"big"}, true);
    ASSERT_EQ(result.exitCode, 0) << result.terminal;
    if (GetParam() <= (4u << 20)) {
        EXPECT_EQ(result.terminal, "");
        return;
    }
    for (const char* part : {"\rlzari: big: reading 100%", "\rlzari: big: compressing...", "writing 100%"})
        EXPECT_NE(result.terminal.find(part), std::string::npos) << result.terminal;
    EXPECT_EQ(result.terminal.back(), '\r');
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressLine, ::testing::Values(4u << 20, (4u << 20) + 1));

}  // namespace
