// Refusals: each gives its exit code and a one-line message naming the
// file, and leaves every file as it was, with no temporary behind.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "tool_harness.h"

namespace {

const std::string Precious = "precious bytes\n";

struct ErrorCase {
    const char* label;
    std::map<std::string, std::string> files;
    std::vector<std::string> args;
    int exitCode;
    const char* message;               // how stderr must start
    std::vector<std::string> entries;  // the folder afterwards
};

class Refusals : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(Refusals, ReportAndLeaveFilesAlone) {
    const ErrorCase& c = GetParam();
    TempFolder folder;
    for (const auto& [name, bytes] : c.files) folder.Write(name, bytes);

    const ToolResult result = folder.Run(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
    EXPECT_EQ(folder.Entries(), c.entries);
    // A refused input, or an output that was refused, is byte for byte what it was.
    for (const auto& [name, bytes] : c.files)
        if (folder.Status(name).st_nlink) EXPECT_EQ(folder.Read(name), bytes) << name;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Refusals,
    ::testing::ValuesIn(std::vector<ErrorCase>{
        // The files after the missing one are still compressed.
        {"MissingFile", {{"a", "1"}, {"c", "3"}}, {"a", "nothere", "c"}, 1,
         "lzari: nothere: No such file or directory\n", {"a.lzr", "c.lzr"}},
        {"ExistingOutputWithoutForce", {{"f", "data"}, {"f.lzr", Precious}}, {"f"}, 1,
         "lzari: f.lzr: already exists; use -f to overwrite\n", {"f", "f.lzr"}},
        {"DecompressWithoutSuffix", {{"plain", ContainerOf("x")}}, {"-d", "plain"}, 1,
         "lzari: plain: unknown suffix", {"plain"}},
        {"CompressAContainerAgain", {{"f.lzr", ContainerOf("x")}}, {"f.lzr"}, 1,
         "lzari: f.lzr: already has .lzr suffix", {"f.lzr"}},
        {"UnknownOption", {{"f", Precious}}, {"--bogus", "f"}, 2, "lzari: ", {"f"}},
        {"OutputNameWithTwoInputs", {{"f", Precious}}, {"-o", "x", "f", "f"}, 2,
         "lzari: -o takes a single input file", {"f"}},
        {"NoInput", {}, {}, 2, "lzari: no input files\n", {}},
    }),
    [](const auto& info) { return std::string(info.param.label); });

TEST(Force, ReplacesAnExistingOutput) {
    TempFolder folder;
    folder.Write("f", "data");
    folder.Write("f.lzr", Precious);
    ASSERT_EQ(folder.Run({"-f", "f"}).exitCode, 0);
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{"f.lzr"});
    int version = 0;
    EXPECT_EQ(DecodeContainer(folder.Read("f.lzr"), &version), "data");
}

// Damage that a decode must notice. The file is random bytes, which the
// coder cannot pack below about 8 bits a byte, so a stream of this size
// cannot stand for a file several times longer: a size field made larger
// sends the decoder past the end of its container.
struct DamageCase {
    const char* label;
    std::function<std::string(std::string)> damage;
    const char* cause;
};

std::string FlipBits(std::string c, size_t offset, char bits) {
    c[offset] ^= bits;
    return c;
}

class Damaged : public ::testing::TestWithParam<DamageCase> {};

// Testing reports the damaged file and goes on to the good one; decompressing
// it leaves nothing but the input.
TEST_P(Damaged, IsReportedLeavingOnlyTheInput) {
    TempFolder folder;
    const std::string damaged = GetParam().damage(ContainerOf(RandomBytes(20000, 5)));
    folder.Write("d.lzr", damaged);
    folder.Write("good.lzr", ContainerOf(TextBytes(4000)));
    const std::string message = std::string("lzari: d.lzr: ") + GetParam().cause + "\n";
    const std::vector<std::string> entries = {"d.lzr", "good.lzr"};

    ToolResult result = folder.Run({"-tv", "d.lzr", "good.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, message + "good.lzr: OK\n");
    EXPECT_EQ(folder.Run({"-t", "good.lzr"}).exitCode, 0);

    result = folder.Run({"-d", "d.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, message);
    EXPECT_EQ(folder.Entries(), entries);
    EXPECT_EQ(folder.Read("d.lzr"), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Damaged,
    ::testing::ValuesIn(std::vector<DamageCase>{
        {"SizeFieldGrown", [](std::string c) { return FlipBits(c, c.size() - 10, 0x40); },  // +4 MiB
         "damaged container"},
        // The size is then read one byte early: about 256 times too large.
        {"LastByteCut", [](std::string c) { return c.substr(0, c.size() - 1); }, "damaged container"},
        {"MagicBitFlipped", [](std::string c) { return FlipBits(c, 0, 0x01); }, "not an LZARI container"},
        {"MagicCaseChanged", [](std::string c) { return FlipBits(c, 1, 0x20); }, "unknown container version"},
        {"CutToTheTrailers", [](std::string c) { return c.substr(0, 15); }, "container too short"},
    }),
    [](const auto& info) { return std::string(info.param.label); });

// A write that fails half-way: the temporary goes, the input stays.
class WriteFailure : public ::testing::TestWithParam<bool> {};

TEST_P(WriteFailure, LeavesNoPartialOutput) {
    const bool decompress = GetParam();
    const std::string input = decompress ? "f.lzr" : "f", bytes = RandomBytes(50000, 11);
    TempFolder folder;
    folder.Write(input, decompress ? ContainerOf(bytes) : bytes);
    const std::string before = folder.Read(input);

    const std::vector<std::string> args = decompress ? std::vector<std::string>{"-d", input} : std::vector<std::string>{input};
    const ToolResult result = folder.Run(args, false, 4096);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, decompress ? "lzari: f: File too large\n" : "lzari: f.lzr: File too large\n");
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{input});
    EXPECT_EQ(folder.Read(input), before);
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteFailure, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "Decompress" : "Compress"); });

}  // namespace
