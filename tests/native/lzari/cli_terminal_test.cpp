// Behaviour that depends on a terminal: no compressed data onto one, and a
// progress line for large inputs.
#include <gtest/gtest.h>

#include "tool_harness.h"

namespace {

TEST(Terminal, RefusesCompressedDataOnStandardOutput) {
    TempFolder folder;
    folder.Write("f", TextBytes(1000));
    const ToolResult result = folder.Run({"-c", "f"}, Terminal::StandardOutput);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "lzari: compressed data not written to a terminal; use -f to force\n");
    EXPECT_EQ(result.terminal, "");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f"});
}

class ProgressLine : public ::testing::TestWithParam<size_t> {};

// Shown only above 4 MiB, and blanked at the end, so that nothing is left
// after the last "\r".
TEST_P(ProgressLine, AppearsOnlyForLargeInputs) {
    TempFolder folder;
    folder.Write("big", TextBytes(GetParam()));
    const ToolResult result = folder.Run({"big"}, Terminal::StandardError);
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
