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

TEST(Terminal, DecompressedDataMayGoToOne) {
    TempFolder folder;
    folder.Write("f", "plain words");
    ASSERT_EQ(folder.Run({"f"}).exitCode, 0);
    const ToolResult result = folder.Run({"-dc", "f.lzr"}, Terminal::StandardOutput);
    EXPECT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(result.terminal, "plain words");
}

struct ProgressCase {
    const char* label;
    size_t size;
    bool shown;
};

class ProgressLine : public ::testing::TestWithParam<ProgressCase> {};

TEST_P(ProgressLine, AppearsOnlyForLargeInputs) {
    TempFolder folder;
    folder.Write("big", TextBytes(GetParam().size));
    const ToolResult result = folder.Run({"big"}, Terminal::StandardError);
    ASSERT_EQ(result.exitCode, 0) << result.terminal;
    if (GetParam().shown) {
        EXPECT_NE(result.terminal.find("\rlzari: big: reading 100%"), std::string::npos) << result.terminal;
        EXPECT_NE(result.terminal.find("\rlzari: big: compressing..."), std::string::npos) << result.terminal;
        EXPECT_NE(result.terminal.find("writing 100%"), std::string::npos) << result.terminal;
        // The line is blanked at the end, so nothing is left after the last "\r".
        ASSERT_FALSE(result.terminal.empty());
        EXPECT_EQ(result.terminal.back(), '\r');
    } else {
        EXPECT_EQ(result.terminal, "");
    }
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressLine,
                         ::testing::ValuesIn(std::vector<ProgressCase>{
                             {"AtTheThreshold", 4u << 20, false},
                             {"Above", (4u << 20) + 1, true},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
