// Compressing and decompressing through the real binary: contents, names,
// which files remain, and the timestamps carried in the container.
#include <gtest/gtest.h>

#include "codec/lzari.h"
#include "tool_harness.h"

namespace {

// A modification time with nanoseconds below the 100 ns a container keeps.
constexpr timespec Modified = {1714564800, 123456789};
constexpr timespec Accessed = {1700000000, 0};

struct ContentCase {
    const char* label;
    std::string bytes;
};

std::vector<ContentCase> Contents() {
    return {
        {"Empty", ""},
        {"OneByte", "x"},
        {"Text", TextBytes(50000)},
        {"Random", RandomBytes(70000, 1)},
        {"LongerThanTheRing", std::string(20000, ' ') + TextBytes(30000)},
    };
}

class RoundTrip : public ::testing::TestWithParam<ContentCase> {};

TEST_P(RoundTrip, RestoresBytesAndModificationTime) {
    TempFolder folder;
    folder.Write("f", GetParam().bytes);
    folder.SetTimes("f", Accessed, Modified);

    ToolResult packed = folder.Run({"f"});
    ASSERT_EQ(packed.exitCode, 0) << packed.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f.lzr"});
    const std::string container = folder.Read("f.lzr");
    ASSERT_GE(container.size(), 16u);
    EXPECT_EQ(container.substr(0, 4), "LzaR");
    EXPECT_EQ(LittleEndian32(container, container.size() - 12), GetParam().bytes.size());
    const uint64_t stored = uint64_t{LittleEndian32(container, container.size() - 4)} << 32 |
                            LittleEndian32(container, container.size() - 8);
    EXPECT_EQ(stored, ExpectedFileTime(Modified.tv_sec, Modified.tv_nsec));

    ToolResult unpacked = folder.Run({"-d", "f.lzr"});
    ASSERT_EQ(unpacked.exitCode, 0) << unpacked.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f"});
    // Times first: reading the file may move its access time.
    const timespec restored = folder.ModificationTime("f");
    EXPECT_EQ(restored.tv_sec, Modified.tv_sec);
    EXPECT_EQ(restored.tv_nsec, Modified.tv_nsec / 100 * 100);
    EXPECT_EQ(folder.AccessTime("f").tv_sec, Modified.tv_sec);
    EXPECT_EQ(folder.Read("f"), GetParam().bytes);
}

INSTANTIATE_TEST_SUITE_P(Contents, RoundTrip, ::testing::ValuesIn(Contents()),
                         [](const auto& info) { return std::string(info.param.label); });

std::string Decode(const std::string& container, int* version) {
    uint32_t length = 0;
    auto state = std::make_unique<LzariState>();
    uint8_t* bytes = LzariDecodeWith(state.get(), reinterpret_cast<const uint8_t*>(container.data()),
                                     static_cast<uint32_t>(container.size()), &length);
    std::string decoded(reinterpret_cast<const char*>(bytes), bytes ? length : 0);
    free(bytes);
    *version = state->status == LzariOk ? state->version : -2;
    return decoded;
}

// Compression flags: where the container goes and whether the input stays.
struct CompressCase {
    const char* label;
    std::vector<std::string> args;
    const char* output;  // nullptr: standard output
    bool inputKept;
    int version;
};

class CompressFlags : public ::testing::TestWithParam<CompressCase> {};

TEST_P(CompressFlags, PutsTheContainerWhereAsked) {
    const CompressCase& c = GetParam();
    TempFolder folder;
    const std::string original = TextBytes(9000);
    folder.Write("f", original);

    ToolResult result = folder.Run(c.args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Exists("f"), c.inputKept);
    const std::string container = c.output ? folder.Read(c.output) : result.out;
    if (c.output) EXPECT_TRUE(result.out.empty());
    int version = -1;
    EXPECT_EQ(Decode(container, &version), original);
    EXPECT_EQ(version, c.version);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, CompressFlags,
    ::testing::ValuesIn(std::vector<CompressCase>{
        {"RemovesInputByDefault", {"f"}, "f.lzr", false, 1},
        {"KeepsInputWithK", {"-k", "f"}, "f.lzr", true, 1},
        {"StdoutKeepsInput", {"-c", "f"}, nullptr, true, 1},
        {"OutputName", {"-o", "packed.bin", "f"}, "packed.bin", false, 1},
        {"LegacyWritesVersion0", {"--legacy", "f"}, "f.lzr", false, 0},
        {"CombinedShortFlags", {"-kv", "f"}, "f.lzr", true, 1},
    }),
    [](const auto& info) { return std::string(info.param.label); });

// Decompression flags, from a container made by the tool itself.
struct DecompressCase {
    const char* label;
    std::vector<std::string> args;
    const char* output;
    bool inputKept;
};

class DecompressFlags : public ::testing::TestWithParam<DecompressCase> {};

TEST_P(DecompressFlags, PutsTheFileWhereAsked) {
    const DecompressCase& c = GetParam();
    TempFolder folder;
    const std::string original = RandomBytes(5000, 3);
    folder.Write("f", original);
    ASSERT_EQ(folder.Run({"f"}).exitCode, 0);

    ToolResult result = folder.Run(c.args);
    ASSERT_EQ(result.exitCode, 0) << result.err;
    EXPECT_EQ(folder.Exists("f.lzr"), c.inputKept);
    EXPECT_EQ(c.output ? folder.Read(c.output) : result.out, original);
}

INSTANTIATE_TEST_SUITE_P(Cases, DecompressFlags,
                         ::testing::ValuesIn(std::vector<DecompressCase>{
                             {"RemovesInputByDefault", {"-d", "f.lzr"}, "f", false},
                             {"KeepsInputWithK", {"-dk", "f.lzr"}, "f", true},
                             {"StdoutKeepsInput", {"-dc", "f.lzr"}, nullptr, true},
                             {"OutputName", {"-d", "-o", "copy", "f.lzr"}, "copy", false},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(LegacyContainer, DecodesButCarriesNoTime) {
    TempFolder folder;
    folder.Write("f", TextBytes(3000));
    folder.SetTimes("f", Accessed, Modified);
    ASSERT_EQ(folder.Run({"--legacy", "-k", "f"}).exitCode, 0);
    ASSERT_EQ(folder.Run({"-k", "-o", "f.v1", "f"}).exitCode, 0);
    const std::string legacy = folder.Read("f.lzr"), current = folder.Read("f.v1");
    // The same coded bytes; only the magic's letter case and the 8 time bytes differ.
    ASSERT_EQ(legacy.size() + 8, current.size());
    EXPECT_EQ(legacy.substr(0, 4), "LZar");
    EXPECT_EQ(legacy.substr(4), current.substr(4, legacy.size() - 4));

    const time_t before = time(nullptr);
    ASSERT_EQ(folder.Run({"-d", "-o", "g", "f.lzr"}).exitCode, 0);
    EXPECT_EQ(folder.Read("g"), folder.Read("f"));
    EXPECT_GE(folder.ModificationTime("g").tv_sec, before - 1);
}

TEST(SeveralFiles, AnErrorDoesNotStopTheOthers) {
    TempFolder folder;
    folder.Write("a", "first");
    folder.Write("c", "third");
    ToolResult result = folder.Run({"a", "missing", "c"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "lzari: missing: No such file or directory\n");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"a.lzr", "c.lzr"}));
}

}  // namespace
