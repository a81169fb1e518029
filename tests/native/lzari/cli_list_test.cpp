// Listing reads the trailers: version, sizes, ratio, timestamp and name.
#include <gtest/gtest.h>

#include <algorithm>
#include <sstream>

#include "tests/native/lzari/tool_harness.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

class Listing : public ::testing::TestWithParam<bool> {};

TEST_P(Listing, ShowsTheTrailersFields) {
    const bool legacy = GetParam();
    const timespec modified = {1714564800, 999999999};
    TempFolder folder;
    folder.Write("file", TextBytes(12345));
    folder.SetTimes("file", modified, modified);
    ASSERT_EQ(folder.Run({legacy ? "--legacy" : "-k", "file"}).exitCode, 0);
    const size_t compressed = folder.Read("file.lzr").size();
    char ratio[32];
    snprintf(ratio, sizeof ratio, "%.3f", compressed / 12345.0);

    const ToolResult result = folder.Run({"-l", "file.lzr"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const size_t lineEnd = result.out.find('\n');
    ASSERT_EQ(std::count(result.out.begin(), result.out.end(), '\n'), 2) << result.out;
    EXPECT_EQ(Words(result.out.substr(0, lineEnd)),
              (std::vector<std::string>{"version", "compressed", "decoded", "ratio", "modified", "name"}));
    // The time as `date -u -d @1714564800` gives it; version 0 carries none.
    EXPECT_EQ(Words(result.out.substr(lineEnd + 1)),
              (std::vector<std::string>{legacy ? "0" : "1", std::to_string(compressed), "12345", ratio,
                                        legacy ? "-" : "2024-05-01T12:00:00Z", "file.lzr"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, Listing, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Version0" : "Version1"); });

}  // namespace
