// A Windows command line split as the C runtime splits it, and the
// arguments it would expand as wildcards.
#include <gtest/gtest.h>

#include "tools/common/command_line_split.h"

namespace {

struct SplitCase {
    const char* line;
    std::vector<std::string> texts;
    std::vector<bool> wildcards;  // one per argument after the program's name
};

const SplitCase SplitCases[] = {
    {"lzari -l *.lzr", {"lzari", "-l", "*.lzr"}, {false, true}},
    {"\"C:\\Program Files\\lzari.exe\" a?c \"*.lzr\"", {"C:\\Program Files\\lzari.exe", "a?c", "*.lzr"}, {true, false}},
    {"lzari \"my files\\\\\"*.lzr", {"lzari", "my files\\*.lzr"}, {true}},
    {"lzari \"my files\\\"*.lzr", {"lzari", "my files\"*.lzr"}, {false}},
    {"lzari\t \"\"  \"a\"\"b\" x", {"lzari", "", "a\"b", "x"}, {false, false, false}},
    {"lzari a\\\\\\\"b c\\\\\\\\\"d e\" f\\\\g", {"lzari", "a\\\"b", "c\\\\d e", "f\\\\g"}, {false, false, false}},
    {"C:\\tools\\lzari.exe\\ \"x\\\"", {"C:\\tools\\lzari.exe\\", "x\""}, {false}},
    {"lzari ", {"lzari"}, {}},
    {"\"lzari", {"lzari"}, {}},
};

TEST(CommandLine, SplitsAsTheCRuntimeDoes) {
    for (const SplitCase& c : SplitCases) {
        const std::vector<CommandArgument> arguments = SplitCommandLine(c.line);
        std::vector<std::string> texts;
        std::vector<bool> wildcards;
        for (const CommandArgument& argument : arguments) texts.push_back(argument.text);
        for (size_t i = 1; i < arguments.size(); ++i) wildcards.push_back(arguments[i].wildcard);
        EXPECT_EQ(texts, c.texts) << c.line;
        EXPECT_EQ(wildcards, c.wildcards) << c.line;
    }
}

}  // namespace
