// Compressing and decompressing through the real binary: contents, names,
// which files remain, and the timestamps carried in the container.
#include <gtest/gtest.h>

#include "tests/native/lzari/tool_harness.h"

namespace {

class RoundTrip : public ::testing::TestWithParam<std::string> {};

TEST_P(RoundTrip, RestoresBytesAndModificationTime) {
    // A modification time with nanoseconds below the 100 ns a container keeps.
    const timespec modified = {1714564800, 123456789}, accessed = {1700000000, 0};
    const time_t start = time(nullptr);
    TempFolder folder;
    folder.Write("f", GetParam());
    folder.SetTimes("f", accessed, modified);

    ToolResult packed = folder.Run({"f"});
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f.lzr"});

    ToolResult unpacked = folder.Run({"-d", "f.lzr"});
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f"});
    // Times first: reading the file may move its access time.
    const struct stat restored = folder.Status("f");
    EXPECT_EQ(restored.st_mtim.tv_sec, modified.tv_sec);
    EXPECT_EQ(restored.st_mtim.tv_nsec, modified.tv_nsec / 100 * 100);
    EXPECT_EQ(restored.st_atim.tv_sec, modified.tv_sec);
    EXPECT_EQ(folder.Read("f"), GetParam());

    // A version 0 container holds no time: the file gets the time it is written.
    ASSERT_EQ(folder.Run({"--legacy", "f"}).exitCode, 0);
    ASSERT_EQ(folder.Run({"-d", "f.lzr"}).exitCode, 0);
    EXPECT_GE(folder.Status("f").st_mtim.tv_sec, start);
}

// Random bytes over 2 MiB pass through codec and tool in several pieces.
INSTANTIATE_TEST_SUITE_P(Contents, RoundTrip,
                         ::testing::Values(std::string(), TextBytes(50000), RandomBytes((2 << 20) + 12345, 5)),
                         [](const auto& info) { return std::string(info.index == 0 ? "Empty" : info.index == 1 ? "Text" : "RandomInPieces"); });

// Where the result goes and whether the input stays. Decompression starts
// from a container the tool made itself.
struct FlagCase {
    const char* label;
    std::vector<std::string> args;
    const char* output;  // nullptr: standard output
    bool inputKept;
    int version;  // of the container written; -1 when decompressing
};

class Flags : public ::testing::TestWithParam<FlagCase> {};

TEST_P(Flags, PutTheResultWhereAsked) {
    const FlagCase& c = GetParam();
    const bool decompress = c.version < 0;
    const std::string original = TextBytes(9000), input = decompress ? "f.lzr" : "f";
    TempFolder folder;
    folder.Write("f", original);
    if (decompress) { ASSERT_EQ(folder.Run({"f"}).exitCode, 0); }

    ToolResult result = folder.Run(c.args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Status(input).st_nlink != 0, c.inputKept);
    const std::string written = c.output ? folder.Read(c.output) : result.out;
    if (c.output) { EXPECT_EQ(result.out, ""); }
    int version = -1;
    EXPECT_EQ(decompress ? written : DecodeContainer(written, &version), original);
    EXPECT_EQ(version, c.version);
}

INSTANTIATE_TEST_SUITE_P(Cases, Flags,
                         ::testing::ValuesIn(std::vector<FlagCase>{
                             {"CompressKeep", {"-k", "f"}, "f.lzr", true, 1},
                             {"CompressToStdout", {"-c", "f"}, nullptr, true, 1},
                             {"CompressToName", {"-o", "packed.bin", "f"}, "packed.bin", false, 1},
                             {"DecompressKeep", {"-dk", "f.lzr"}, "f", true, -1},
                             {"DecompressToName", {"-d", "-o", "copy", "f.lzr"}, "copy", false, -1},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

}  // namespace
