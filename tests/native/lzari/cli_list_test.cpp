// Listing reads the trailers: version, sizes, ratio, timestamp and name.
#include <gtest/gtest.h>

#include <sstream>

#include "tool_harness.h"

namespace {

std::vector<std::string> Words(const std::string& line) {
    std::istringstream stream(line);
    std::vector<std::string> words;
    for (std::string word; stream >> word;) words.push_back(word);
    return words;
}

std::vector<std::string> Lines(const std::string& text) {
    std::istringstream stream(text);
    std::vector<std::string> lines;
    for (std::string line; std::getline(stream, line);) lines.push_back(line);
    return lines;
}

std::string Ratio(size_t compressed, size_t decoded) {
    char text[32];
    snprintf(text, sizeof text, "%.3f", static_cast<double>(compressed) / static_cast<double>(decoded));
    return text;
}

struct ListCase {
    const char* label;
    bool legacy;
    timespec modified;
    const char* expectedTimestamp;  // as `date -u -d @SECONDS` gives it
};

class Listing : public ::testing::TestWithParam<ListCase> {};

TEST_P(Listing, ShowsTheTrailersFields) {
    const ListCase& c = GetParam();
    TempFolder folder;
    const std::string original = TextBytes(12345);
    folder.Write("file", original);
    folder.SetTimes("file", c.modified, c.modified);
    std::vector<std::string> args = {"-k", "file"};
    if (c.legacy) args.insert(args.begin(), "--legacy");
    ASSERT_EQ(folder.Run(args).exitCode, 0);
    const size_t compressed = folder.Read("file.lzr").size();

    const ToolResult result = folder.Run({"-l", "file.lzr"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u) << result.out;
    EXPECT_EQ(Words(lines[0]),
              (std::vector<std::string>{"version", "compressed", "decoded", "ratio", "modified", "name"}));
    EXPECT_EQ(Words(lines[1]),
              (std::vector<std::string>{c.legacy ? "0" : "1", std::to_string(compressed), "12345",
                                        Ratio(compressed, original.size()), c.expectedTimestamp, "file.lzr"}));
}

INSTANTIATE_TEST_SUITE_P(Cases, Listing,
                         ::testing::ValuesIn(std::vector<ListCase>{
                             {"Version1", false, {1714564800, 999999999}, "2024-05-01T12:00:00Z"},
                             {"LeapDay", false, {951782400, 0}, "2000-02-29T00:00:00Z"},
                             {"UnixEpoch", false, {0, 0}, "1970-01-01T00:00:00Z"},
                             {"BeforeUnixEpoch", false, {-1, 500000000}, "1969-12-31T23:59:59Z"},
                             {"Version0", true, {1714564800, 0}, "-"},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(Listing, NeedsOnlyTheTrailers) {
    // A container whose coded stream is garbage still lists: nothing is decoded.
    TempFolder folder;
    std::string container = "LzaR" + RandomBytes(100, 9);
    const uint8_t trailers[12] = {0x10, 0x27, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0};  // size 10000, FILETIME 0
    container.append(reinterpret_cast<const char*>(trailers), sizeof trailers);
    folder.Write("g.lzr", container);
    const ToolResult result = folder.Run({"-l", "g.lzr"});
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(Words(Lines(result.out).at(1)),
              (std::vector<std::string>{"1", "116", "10000", "0.012", "1601-01-01T00:00:00Z", "g.lzr"}));
}

TEST(Listing, ReportsBadFilesAndListsTheRest) {
    TempFolder folder;
    folder.Write("f", "abc");
    ASSERT_EQ(folder.Run({"f"}).exitCode, 0);
    folder.Write("bad.lzr", "not a container at all");
    const ToolResult result = folder.Run({"-l", "bad.lzr", "f.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "lzari: bad.lzr: not an LZARI container\n");
    const std::vector<std::string> lines = Lines(result.out);
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(Words(lines[1]).back(), "f.lzr");
}

}  // namespace
