// Containers joined one after another (as `lzari -c a b` writes them)
// decode member by member, from a file and from standard input; bytes
// appended that are not a container stay damage.
#include <gtest/gtest.h>

#include "tests/native/lzari/tool_harness.h"

namespace {

const std::string First = "first file\n", Second = TextBytes(3000);

// The container with `bytes` put between its coded stream and its trailers.
std::string Between(const std::string& container, const std::string& bytes) {
    return container.substr(0, container.size() - 12) + bytes + container.substr(container.size() - 12);
}

struct JoinedCase {
    const char* label;
    std::string joined;
    std::string decoded;  // empty: refused as damaged
    int rows;             // of -l
};

void PrintTo(const JoinedCase& c, std::ostream* out) { *out << c.label; }

const JoinedCase JoinedCases[] = {
    {"two", ContainerOf(First) + ContainerOf(Second), First + Second, 2},
    {"empty and old between", ContainerOf(First) + ContainerOf("") + LegacyOf(ContainerOf(Second)) + ContainerOf(First),
     First + Second + First, 4},
    {"bytes appended", ContainerOf(First) + ContainerOf(Second) + "xyz", "", 0},
    {"a magic appended", ContainerOf(First) + "LzaR\x05\x00\x00\x00" + "12345678", "", 0},
    {"bytes before the last trailers", ContainerOf(First) + Between(ContainerOf(Second), "xyz"), "", 0},
    {"the second cut short", ContainerOf(First) + ContainerOf(Second).substr(0, 40), "", 0},
};

class Joined : public ::testing::TestWithParam<JoinedCase> {};

TEST_P(Joined, DecodeMemberByMember) {
    const JoinedCase& c = GetParam();
    const bool sound = !c.decoded.empty();
    TempFolder folder;
    folder.Write("ab.lzr", c.joined);

    for (const auto& args : {std::vector<std::string>{"-dc", "ab.lzr"}, {"-dc"}}) {
        const ToolResult result = folder.Run(args, false, 0, args.size() == 1 ? std::optional(c.joined) : std::nullopt);
        EXPECT_EQ(result.exitCode, sound ? 0 : 1) << c.label << ": " << args.size() << result.err;
        if (sound) { EXPECT_EQ(result.out, c.decoded) << c.label; }
    }
    EXPECT_EQ(folder.Run({"-t", "ab.lzr"}).exitCode, sound ? 0 : 1) << c.label;
    const ToolResult listed = folder.Run({"-l", "ab.lzr"});
    EXPECT_EQ(listed.exitCode, sound ? 0 : 1) << c.label;
    if (sound) { EXPECT_EQ(std::count(listed.out.begin(), listed.out.end(), '\n'), c.rows + 1) << listed.out; }

    EXPECT_EQ(folder.Run({"-d", "ab.lzr"}).exitCode, sound ? 0 : 1) << c.label;
    EXPECT_EQ(folder.Entries(), (std::vector<std::string>{sound ? "ab" : "ab.lzr"})) << c.label;
    if (sound) { EXPECT_EQ(folder.Read("ab"), c.decoded) << c.label; }
}

INSTANTIATE_TEST_SUITE_P(Cases, Joined, ::testing::ValuesIn(JoinedCases),
                         [](const auto& info) { return std::to_string(info.index); });

// What `-c` writes for several files decodes back to them, with the first
// one's time.
TEST(Joined, ByTheToolTakeTheFirstTime) {
    TempFolder folder;
    folder.Write("a", First);
    folder.Write("b", Second);
    const timespec first = {1714564800, 0}, second = {1000000000, 0};
    folder.SetTimes("a", first, first);
    folder.SetTimes("b", second, second);
    const ToolResult joined = folder.Run({"-c", "a", "b"});
    ASSERT_EQ(joined.exitCode, 0) << joined.err;
    folder.Write("ab.lzr", joined.out);

    ASSERT_EQ(folder.Run({"-d", "ab.lzr"}).exitCode, 0);
    EXPECT_EQ(folder.Read("ab"), First + Second);
    struct stat status;
    ASSERT_EQ(stat(folder.PathOf("ab").c_str(), &status), 0);
    EXPECT_EQ(status.st_mtim.tv_sec, first.tv_sec);
}

}  // namespace
