// Refusals: each gives its exit code and a one-line message naming the
// file, and leaves every file as it was, with no temporary behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <map>

#include "tool_harness.h"

namespace {

const std::string Precious = "precious bytes\n";

// A version 1 container made by the tool, for the cases that damage one.
std::string MakeContainer(const TempFolder& folder, const std::string& bytes) {
    folder.Write("source", bytes);
    const ToolResult result = folder.Run({"-c", "source"});
    EXPECT_EQ(result.exitCode, 0) << result.err;
    return result.out;
}

struct ErrorCase {
    const char* label;
    std::function<void(const TempFolder&)> prepare;
    std::vector<std::string> args;
    int exitCode;
    const char* message;               // what stderr must contain
    std::vector<std::string> entries;  // the folder afterwards, "source" aside
    std::function<void(const TempFolder&)> check;
};

void PlainFile(const TempFolder& folder) { folder.Write("f", Precious); }

void FileAndExistingOutput(const TempFolder& folder) {
    folder.Write("f", TextBytes(2000));
    folder.Write("f.lzr", Precious);
}

void ExistingOutputUntouched(const TempFolder& folder) { EXPECT_EQ(folder.Read("f.lzr"), Precious); }

void ContainerWithoutSuffix(const TempFolder& folder) {
    folder.Write("plain", MakeContainer(folder, TextBytes(100)));
}

void TextWithContainerName(const TempFolder& folder) { folder.Write("junk.lzr", "hello, world\n"); }

void ShortContainer(const TempFolder& folder) {
    folder.Write("t.lzr", MakeContainer(folder, TextBytes(1000)).substr(0, 10));
}

void SuffixOnlyName(const TempFolder& folder) { folder.Write(".lzr", MakeContainer(folder, "x")); }

void Folder(const TempFolder& folder) { std::filesystem::create_directory(folder.PathOf("sub")); }

void AlreadyContainer(const TempFolder& folder) { folder.Write("f.lzr", MakeContainer(folder, "abc")); }

std::vector<ErrorCase> Cases() {
    return {
        {"MissingFile", nullptr, {"nothere"}, 1, "lzari: nothere: No such file or directory\n", {}, nullptr},
        {"ExistingOutputWithoutForce", FileAndExistingOutput, {"f"}, 1,
         "lzari: f.lzr: already exists; use -f to overwrite\n", {"f", "f.lzr"}, ExistingOutputUntouched},
        {"ExistingDecodeOutputWithoutForce", FileAndExistingOutput, {"-d", "-o", "f", "f.lzr"}, 1,
         "lzari: f: already exists; use -f to overwrite\n", {"f", "f.lzr"}, ExistingOutputUntouched},
        {"ForceOverwrites", FileAndExistingOutput, {"-f", "f"}, 0, "", {"f.lzr"},
         [](const TempFolder& folder) { EXPECT_EQ(folder.Read("f.lzr").substr(0, 4), "LzaR"); }},
        {"DecompressWithoutSuffix", ContainerWithoutSuffix, {"-d", "plain"}, 1, "lzari: plain: unknown suffix",
         {"plain"}, nullptr},
        {"DecompressWithoutSuffixToNamedOutput", ContainerWithoutSuffix, {"-d", "-o", "out", "plain"}, 0, "",
         {"out"}, [](const TempFolder& folder) { EXPECT_EQ(folder.Read("out"), TextBytes(100)); }},
        {"DecompressNonContainer", TextWithContainerName, {"-d", "junk.lzr"}, 1,
         "lzari: junk.lzr: not an LZARI container\n", {"junk.lzr"}, nullptr},
        {"DecompressTruncatedContainer", ShortContainer, {"-d", "t.lzr"}, 1, "lzari: t.lzr: container too short\n",
         {"t.lzr"}, nullptr},
        {"SuffixAlone", SuffixOnlyName, {"-d", ".lzr"}, 1, "lzari: .lzr: no name left without the .lzr suffix", {".lzr"},
         nullptr},
        {"Directory", Folder, {"sub"}, 1, "lzari: sub: is a directory\n", {"sub"}, nullptr},
        {"CompressAContainerAgain", AlreadyContainer, {"f.lzr"}, 1, "lzari: f.lzr: already has .lzr suffix",
         {"f.lzr"}, nullptr},
        {"UnknownOption", PlainFile, {"--bogus", "f"}, 2, "lzari: ", {"f"}, nullptr},
        {"OutputNameWithTwoInputs", PlainFile, {"-o", "x", "f", "f"}, 2, "lzari: -o takes a single input file",
         {"f"}, nullptr},
        {"NoInput", nullptr, {}, 2, "lzari: no input files\n", {}, nullptr},
        {"TwoModes", PlainFile, {"-d", "-l", "f"}, 2, "lzari: ", {"f"}, nullptr},
        {"StdoutWithTwoInputs", PlainFile, {"-c", "f", "f"}, 2, "lzari: -c compresses a single input file", {"f"},
         nullptr},
        {"OutputNameWithStdout", PlainFile, {"-c", "-o", "x", "f"}, 2, "lzari: -o and -c exclude each other", {"f"},
         nullptr},
        {"OutputOptionWithoutValue", PlainFile, {"f", "-o"}, 2, "lzari: ", {"f"}, nullptr},
    };
}

class Refusals : public ::testing::TestWithParam<ErrorCase> {};

TEST_P(Refusals, ReportAndLeaveFilesAlone) {
    const ErrorCase& c = GetParam();
    TempFolder folder;
    if (c.prepare) c.prepare(folder);
    const std::vector<std::string> before = folder.Entries();
    std::map<std::string, std::string> contents;
    for (const std::string& name : before)
        if (name != "sub") contents[name] = folder.Read(name);

    const ToolResult result = folder.Run(c.args);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    if (*c.message) {
        EXPECT_EQ(result.err.rfind(c.message, 0), 0u) << result.err;
    } else {
        EXPECT_EQ(result.err, "");
    }
    std::vector<std::string> after = folder.Entries();
    after.erase(std::remove(after.begin(), after.end(), "source"), after.end());
    EXPECT_EQ(after, c.entries);
    // Inputs that were refused are byte for byte what they were.
    if (c.exitCode != 0)
        for (const auto& [name, bytes] : contents) EXPECT_EQ(folder.Read(name), bytes) << name;
    if (c.check) c.check(folder);
}

INSTANTIATE_TEST_SUITE_P(Cases, Refusals, ::testing::ValuesIn(Cases()),
                         [](const auto& info) { return std::string(info.param.label); });

// Damage that a decode must notice. The file is random bytes, which the
// coder cannot pack below about 8 bits a byte, so a stream of this size
// cannot stand for a file several times longer: a size field made larger
// sends the decoder past the end of its container.
constexpr size_t DamagedFileSize = 20000;

struct DamageCase {
    const char* label;
    std::function<std::string(std::string)> damage;
    const char* cause;
};

std::vector<DamageCase> Damages() {
    return {
        {"SizeFieldGrown",
         [](std::string c) {
             c[c.size() - 10] ^= 0x40;  // third byte of the size: +4 MiB
             return c;
         },
         "damaged container"},
        {"LastByteCut",  // the size is then read one byte early: about 256 times too large
         [](std::string c) { return c.substr(0, c.size() - 1); }, "damaged container"},
        {"MagicBitFlipped",
         [](std::string c) {
             c[0] ^= 0x01;
             return c;
         },
         "not an LZARI container"},
        {"MagicCaseChanged",
         [](std::string c) {
             c[1] ^= 0x20;
             return c;
         },
         "unknown container version"},
        {"CutToTheTrailers", [](std::string c) { return c.substr(0, 15); }, "container too short"},
        {"Empty", [](std::string) { return std::string(); }, "container too short"},
    };
}

class Damaged : public ::testing::TestWithParam<DamageCase> {};

TEST_P(Damaged, TestReportsTheFile) {
    TempFolder folder;
    folder.Write("d.lzr", GetParam().damage(MakeContainer(folder, RandomBytes(DamagedFileSize, 5))));
    const ToolResult result = folder.Run({"-t", "d.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, std::string("lzari: d.lzr: ") + GetParam().cause + "\n");
}

TEST_P(Damaged, DecompressLeavesNothingAndKeepsTheInput) {
    TempFolder folder;
    const std::string damaged = GetParam().damage(MakeContainer(folder, RandomBytes(DamagedFileSize, 5)));
    folder.Write("d.lzr", damaged);
    const ToolResult result = folder.Run({"-d", "d.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, std::string("lzari: d.lzr: ") + GetParam().cause + "\n");
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{"d.lzr", "source"}));
    EXPECT_EQ(folder.Read("d.lzr"), damaged);
}

INSTANTIATE_TEST_SUITE_P(Cases, Damaged, ::testing::ValuesIn(Damages()),
                         [](const auto& info) { return std::string(info.param.label); });

// A write that fails half-way: the temporary goes, the input stays.
struct WriteFailureCase {
    const char* label;
    bool fromContainer;
    std::vector<std::string> args;
    const char* message;
    const char* input;
};

class WriteFailure : public ::testing::TestWithParam<WriteFailureCase> {};

TEST_P(WriteFailure, LeavesNoPartialOutput) {
    const WriteFailureCase& c = GetParam();
    TempFolder folder;
    const std::string bytes = RandomBytes(50000, 11);
    if (c.fromContainer) folder.Write("f.lzr", MakeContainer(folder, bytes));
    else folder.Write("f", bytes);
    const std::string input = folder.Read(c.input);
    const std::vector<std::string> before = folder.Entries();

    const ToolResult result = folder.Run(c.args, Terminal::None, 4096);
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, c.message);
    EXPECT_EQ(folder.Entries(), before);
    EXPECT_EQ(folder.Read(c.input), input);
}

INSTANTIATE_TEST_SUITE_P(Cases, WriteFailure,
                         ::testing::ValuesIn(std::vector<WriteFailureCase>{
                             {"Compress", false, {"f"}, "lzari: f.lzr: File too large\n", "f"},
                             {"Decompress", true, {"-d", "f.lzr"}, "lzari: f: File too large\n", "f.lzr"},
                         }),
                         [](const auto& info) { return std::string(info.param.label); });

TEST(TestMode, ReportsEveryFileAndGoesOn) {
    TempFolder folder;
    const std::string good = MakeContainer(folder, TextBytes(4000));
    folder.Write("a.lzr", good);
    folder.Write("b.lzr", good.substr(0, good.size() - 1));
    folder.Write("c.lzr", good);
    const ToolResult result = folder.Run({"-tv", "a.lzr", "b.lzr", "c.lzr"});
    EXPECT_EQ(result.exitCode, 1);
    EXPECT_EQ(result.err, "a.lzr: OK\nlzari: b.lzr: damaged container\nc.lzr: OK\n");
    EXPECT_EQ(folder.Run({"-t", "a.lzr"}).exitCode, 0);
}

}  // namespace
