// Commands as a gzip user types them, refusals among them: the exit code,
// how standard error starts (empty when all went well), standard output,
// what the folder holds afterwards, and every input still there unchanged.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <functional>
#include <map>

#include "tests/native/lzari/tool_harness.h"

namespace {

const std::string Precious = "precious bytes\n", Text = TextBytes(3000), Other = "other file\n";

struct CommandCase {
    const char* label;
    std::map<std::string, std::string> files;
    std::vector<std::string> args;
    int exitCode;
    const char* err;
    std::vector<std::string> entries;
    std::string out = "";
    std::optional<std::string> input = std::nullopt;
    std::function<void(const std::string& folder)> setup = nullptr;
};

class Commands : public ::testing::TestWithParam<CommandCase> {};

TEST_P(Commands, BehaveAsGzipWould) {
    const CommandCase& c = GetParam();
    TempFolder folder;
    for (const auto& [name, bytes] : c.files) folder.Write(name, bytes);
    if (c.setup) c.setup(folder.PathOf(""));

    const ToolResult result = folder.Run(c.args, false, 0, c.input);
    EXPECT_EQ(result.exitCode, c.exitCode) << result.err;
    if (*c.err) EXPECT_EQ(result.err.rfind(c.err, 0), 0u) << result.err;
    else EXPECT_EQ(result.err, "");
    EXPECT_EQ(result.out, c.out);
    EXPECT_EQ(folder.Entries(), c.entries);
    for (const auto& [name, bytes] : c.files)
        if (folder.Status(name).st_nlink) { EXPECT_EQ(folder.Read(name), bytes) << name; }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Commands,
    ::testing::ValuesIn(std::vector<CommandCase>{
        // The files after the missing one are still compressed.
        {"MissingFile", {{"a", "1"}, {"c", "3"}}, {"a", "nothere", "c"}, 1,
         "lzari: nothere: No such file or directory\n", {"a.lzr", "c.lzr"}},
        {"ExistingOutputWithoutForce", {{"f", "data"}, {"f.lzr", Precious}}, {"f"}, 1,
         "lzari: f.lzr: already exists; use -f to overwrite\n", {"f", "f.lzr"}},
        {"DecompressWithoutSuffix", {{"plain", ContainerOf("x")}}, {"-d", "plain"}, 1,
         "lzari: plain: unknown suffix", {"plain"}},
        {"CompressAContainerAgain", {{"f.LZR", ContainerOf("x")}}, {"f.LZR"}, 1,
         "lzari: f.LZR: already has .lzr suffix", {"f.LZR"}},
        {"UnknownOption", {{"f", Precious}}, {"-kx", "f"}, 2, "lzari: The following argument was not expected: -x\n",
         {"f"}},
        // The levels gzip and xz take; the format has one.
        {"LevelOption", {{"f", "data"}}, {"-9", "f"}, 0, "", {"f.lzr"}},
        {"NumberThatIsNoLevel", {{"f", Precious}}, {"-f", "-12", "f"}, 2, "lzari: -12: unknown option", {"f"}},
        {"OutputNameWithTwoInputs", {{"f", Precious}}, {"-o", "x", "f", "f"}, 2,
         "lzari: -o takes a single input file", {"f"}},
        {"SymbolicLink", {{"t", Precious}}, {"link"}, 1, "lzari: link: is a symbolic link; use -f\n", {"link", "t"},
         "", std::nullopt, [](const std::string& at) { ASSERT_EQ(symlink("t", (at + "link").c_str()), 0); }},
        // Forced: the link's target is packed, over the output there was, and the link goes; the target stays.
        {"ForcedSymbolicLink", {{"t", Precious}}, {"-f", "link"}, 0, "", {"link.lzr", "t"}, "", std::nullopt,
         [](const std::string& at) { ASSERT_EQ(symlink("t", (at + "link").c_str()), 0); fclose(fopen((at + "link.lzr").c_str(), "w")); }},
        {"ForcedOutputOverTheInput", {{"f", Precious}}, {"-f", "-o", "f", "f"}, 1,
         "lzari: f: input and output are the same file\n", {"f"}},
        {"HardLinks", {{"h", Precious}}, {"h"}, 1, "lzari: h: has 1 other link; use -f\n", {"h", "h2"}, "",
         std::nullopt, [](const std::string& at) { ASSERT_EQ(link((at + "h").c_str(), (at + "h2").c_str()), 0); }},
        // No writer ever comes: waiting for one would hang.
        {"Fifo", {}, {"p"}, 1, "lzari: p: not a regular file\n", {"p"}, "", std::nullopt,
         [](const std::string& at) { ASSERT_EQ(mkfifo((at + "p").c_str(), 0600), 0); }},
        {"StandardInputToStandardOutput", {}, {"--legacy"}, 0, "", {}, LegacyOf(ContainerOf(Text)), Text},
        {"SeveralToStandardOutputInOrder", {{"a", Precious}, {"b", Other}}, {"-c", "--legacy", "a", "-", "b"}, 0, "",
         {"a", "b"}, LegacyOf(ContainerOf(Precious)) + LegacyOf(ContainerOf(Text)) + LegacyOf(ContainerOf(Other)),
         Text},
        {"DashAsOutputName", {{"f", Precious}}, {"--legacy", "-o", "-", "f"}, 0, "", {"f"},
         LegacyOf(ContainerOf(Precious))},
        // Its size says 0: only reading to the end finds the content.
        {"ProcFile", {}, {"-c", "--legacy", "/proc/version"}, 0, "", {}, LegacyOf(ContainerOf(ReadFile("/proc/version")))},
        {"DecompressStandardInput", {}, {"-d"}, 0, "", {}, Text, ContainerOf(Text)},
        {"DecompressSeveralToStandardOutput", {{"a.lzr", ContainerOf(Precious)}, {"b.lzr", ContainerOf(Other)}},
         {"-dc", "a.lzr", "b.lzr"}, 0, "", {"a.lzr", "b.lzr"}, Precious + Other},
        {"NameWithoutSuffixFindsTheContainer", {{"f.lzr", ContainerOf(Text)}}, {"-d", "f"}, 0, "", {"f"}},
        {"OtherSuffixInOtherCase", {{"F.PK", ContainerOf(Text)}}, {"-d", "-S", ".pk", "F.PK"}, 0, "", {"F"}},
        {"OptionsAfterNames", {{"f", Text}}, {"f", "-k", "-S", ".pk"}, 0, "", {"f", "f.pk"}},
    }),
    [](const auto& info) { return std::string(info.param.label); });

// Forced over an output that exists, which the table cannot show (its
// bytes change); also the Windows tool's replace, where links are not run.
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
// it leaves nothing but the input; listing it fails too.
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

    for (const char* mode : {"-d", "-l"}) {
        result = folder.Run({mode, "d.lzr"});
        EXPECT_EQ(result.exitCode, 1) << mode;
        EXPECT_EQ(result.err, message) << mode;
    }
    EXPECT_EQ(folder.Entries(), entries);
    EXPECT_EQ(folder.Read("d.lzr"), damaged);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, Damaged,
    ::testing::ValuesIn(std::vector<DamageCase>{
        {"SizeFieldGrown", [](std::string c) { return FlipBits(c, c.size() - 10, 0x40); },  // +4 MiB
         "damaged container"},
        {"MagicBitFlipped", [](std::string c) { return FlipBits(c, 0, 0x01); }, "not an LZARI container"},
        {"MagicCaseChanged", [](std::string c) { return FlipBits(c, 1, 0x20); }, "unknown container version"},
        {"CutToTheTrailers", [](std::string c) { return c.substr(0, 15); }, "container too short"},
        // The trailers then say: an empty file. Its stream would be other.
        {"TwelveZerosAppended", [](std::string c) { return c + std::string(12, '\0'); }, "damaged container"},
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

// A signal while the output is being made: the tool dies of it, leaving
// its input and nothing else. One that was ignored when the tool started
// (negative here), as under nohup, stays ignored: the tool goes on.
class Interrupted : public ::testing::TestWithParam<int> {};

TEST_P(Interrupted, LeavesNoTemporary) {
    // Long enough to decode that the signal, sent once the temporary shows,
    // finds the tool still at work on a busy machine.
    static const std::string container = ContainerOf(RandomBytes(1u << 23, 3));
    const int signal = std::abs(GetParam()), ignored = GetParam() < 0 ? signal : 0;
    TempFolder folder;
    folder.Write("big.lzr", container);
    const ToolResult result = folder.RunUntilTemporary({"-d", "big.lzr"}, [&](pid_t tool) { kill(tool, signal); }, ignored);
    EXPECT_EQ(result.exitCode, ignored ? 0 : 128 + signal) << result.err;
    EXPECT_EQ(folder.Entries(), std::vector<std::string>{ignored ? "big" : "big.lzr"});
}

INSTANTIATE_TEST_SUITE_P(Signals, Interrupted, ::testing::Values(SIGINT, SIGTERM, SIGHUP, SIGPIPE, -SIGHUP),
                         [](const auto& info) { return (info.param < 0 ? "Ignored" : "") + std::string(sigabbrev_np(std::abs(info.param))); });

// Bytes appended while the file is being packed, or bytes rewritten in
// place (its time moves, its size not): packing what was seen and deleting
// the file would lose them.
TEST(GrowingInput, IsReportedAndKept) {
    const std::string bytes = TextBytes(2u << 20);
    for (const bool grows : {true, false}) {
        TempFolder folder;
        folder.Write("grow", bytes);
        const ToolResult result = folder.RunUntilTemporary({"grow"}, [&](pid_t) {
            if (!grows) return folder.SetTimes("grow", {1, 0}, {1, 0});
            FILE* file = fopen(folder.PathOf("grow").c_str(), "ab");
            ASSERT_TRUE(file && fputs("more", file) >= 0 && fclose(file) == 0);
        });
        EXPECT_EQ(result.exitCode, 1) << grows;
        EXPECT_EQ(result.err, "lzari: grow: changed while being read; left as it is\n");
        EXPECT_EQ(folder.Entries(), std::vector<std::string>{"grow"});
        EXPECT_EQ(folder.Read("grow"), bytes + (grows ? "more" : ""));
    }
}

}  // namespace
