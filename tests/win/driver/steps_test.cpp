#include "tests/win/driver/roles.h"
#include "tests/win/driver/steps.h"

#include <gtest/gtest.h>

namespace {

TEST(ParseSteps, SplitsTokensByEachCommandsArity)
{
    const struct { std::vector<std::string> tokens; std::vector<std::string> names; } cases[] = {
        {{}, {}},
        {{"close"}, {"close"}},
        {{"wait-window", "MAIN", "Software Installation Utility", "5000", "close", "wait-exit", "0"},
         {"wait-window", "close", "wait-exit"}},
        {{"expect-text", "StatusText", "", "rects"}, {"expect-text", "rects"}},  // an empty text is an argument
        {{"patch-resource", "C:\\a.exe", "2", "LOGO", "--delete", "start", "C:\\a.exe"},
         {"patch-resource", "start"}},
    };
    for (const auto& c : cases) {
        std::vector<Step> steps;
        std::string error;
        ASSERT_TRUE(ParseSteps(c.tokens, steps, error)) << error;
        ASSERT_EQ(steps.size(), c.names.size());
        for (size_t i = 0; i < steps.size(); ++i) EXPECT_EQ(steps[i].spec->name, c.names[i]);
    }
}

TEST(ParseSteps, RefusesUnknownStepsAndMissingArguments)
{
    const struct { std::vector<std::string> tokens; const char* error; } cases[] = {
        {{"clik", "Exit"}, "unknown step 'clik'"},
        {{"close", "wait-exit"}, "step 'wait-exit' needs 1 argument(s) (CODE), got 0"},
        {{"wait-window", "MAIN", "title"}, "step 'wait-window' needs 3 argument(s)"},
        {{"expect-text", "StatusText"}, "needs 2 argument(s)"},
    };
    for (const auto& c : cases) {
        std::vector<Step> steps;
        std::string error;
        EXPECT_FALSE(ParseSteps(c.tokens, steps, error));
        EXPECT_NE(error.find(c.error), std::string::npos) << error;
    }
}

TEST(SplitStepsFile, OneTokenPerLine)
{
    const struct { std::string content; std::vector<std::string> tokens; } cases[] = {
        {"", {}},
        {"close\n", {"close"}},
        {"close", {"close"}},
        {"expect-text\nStatusText\n\nrects\n", {"expect-text", "StatusText", "", "rects"}},
        {"click\r\ninstall in this folder\r\n", {"click", "install in this folder"}},
    };
    for (const auto& c : cases) EXPECT_EQ(SplitStepsFile(c.content), c.tokens) << c.content;
}

TEST(UnescapeText, OnlyLineBreaksAreEscaped)
{
    const struct { const char* in; const char* out; } cases[] = {
        {"a\\nb", "a\nb"},
        {"C:\\Holbrine\\Varnoset", "C:\\Holbrine\\Varnoset"},
        {"C:\\\\new", "C:\\new"},  // \\n keeps a backslash before an n
        {"\\\\server\\share", "\\\\server\\share"},
        {"ends with \\", "ends with \\"},
        {"two\\n\\nbreaks", "two\n\nbreaks"},
    };
    for (const auto& c : cases) EXPECT_EQ(UnescapeText(c.in), c.out) << c.in;
}

TEST(ParseControlId, NamesAndNumbers)
{
    const struct { const char* text; long id; } cases[] = {
        {"IDC_INSTALL", 0x401}, {"IDC_SELECT", 0x402}, {"IDC_EXIT", 0x404}, {"0x404", 0x404},
        {"1028", 1028},         {"IDC_OTHER", -1},     {"", -1},            {"12x", -1},
        {"-1", -1},             {"0x10000", -1},
    };
    for (const auto& c : cases) EXPECT_EQ(ParseControlId(c.text), c.id) << c.text;
}

TEST(ChildRoleIndex, FollowsCreationOrder)
{
    EXPECT_EQ(ChildRoleIndex("LogoWindow"), 0);
    EXPECT_EQ(ChildRoleIndex("FolderText"), 7);
    EXPECT_EQ(ChildRoleIndex("UnpackProgress"), 8);
    EXPECT_EQ(ChildRoleIndex("ExitButton"), 12);
    EXPECT_EQ(ChildRoleIndex("exitbutton"), -1);
    EXPECT_EQ(ChildRoleIndex("MainWindow"), -1);
}

} // namespace
