// The progress line shown on a terminal for large inputs.
#include <gtest/gtest.h>

#include "tests/native/lzari/tool_harness.h"

namespace {

struct ProgressCase {
    size_t size;
    bool quiet;
};

class ProgressLine : public ::testing::TestWithParam<ProgressCase> {};

// Shown only above 4 MiB and without -q, with a percentage, and blanked at
// the end, so that nothing is left after the last "\r". A file is read and
// written as it is compressed: that is the one phase.
TEST_P(ProgressLine, AppearsOnlyForLargeInputs) {
    TempFolder folder;
    folder.Write("big", TextBytes(GetParam().size));
    // -q also silences -v.
    const ToolResult result = folder.Run(GetParam().quiet ? std::vector<std::string>{"-vq", "big"} : std::vector<std::string>{"big"}, true);
    ASSERT_EQ(result.exitCode, 0) << result.terminal;
    if (GetParam().size <= (4u << 20) || GetParam().quiet) {
        EXPECT_EQ(result.terminal, "");
        return;
    }
    for (const char* part : {"\rlzari: big: compressing   0%", "\rlzari: big: compressing 100%"})
        EXPECT_NE(result.terminal.find(part), std::string::npos) << part;
    EXPECT_EQ(result.terminal.back(), '\r');
}

INSTANTIATE_TEST_SUITE_P(Sizes, ProgressLine,
                         ::testing::Values(ProgressCase{4u << 20, false}, ProgressCase{(4u << 20) + 1, false},
                                           ProgressCase{(4u << 20) + 1, true}));

}  // namespace
