#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/folder_rules.h"

namespace {

struct FolderCase {
    const char* input;
    int valid;
    const char* after;  // the buffer once the check is done
};

const std::string LongestFolder = "C:\\" + std::string(256, 'x');  // 259 characters

const FolderCase FolderCases[] = {
    {LongestFolder.c_str(), 1, LongestFolder.c_str()},
    {"c:\\tools", 1, "C:\\tools"},  {"Z:\\x", 1, "Z:\\x"},       {"C:\\tools\\", 1, "C:\\tools"},
    {"C:\\a b/c*?", 1, "C:\\a b/c*?"}, {"D:\\", 0, "D:"},        {"C:", 0, "C:"},
    {"B:\\x", 0, "B:\\x"},          {"a:\\x", 0, "A:\\x"},       {"[:\\x", 0, "[:\\x"},
    {"\\\\server\\share", 0, "\\\\server\\share"},               {"C:\\a:b", 0, "C:\\a:b"},
    {"C::\\a", 0, "C::\\a"},        {"C:\\a\\\\b", 0, "C:\\a\\\\b"}, {"C:\\tools\\\\", 0, "C:\\tools\\\\"},
    {"C:/tools", 0, "C:/tools"},    {"c", 0, "C"},               {"", 0, ""},
};

class FolderRules : public ::testing::TestWithParam<FolderCase> {};

// Checked twice: an accepted folder must stay accepted and unchanged.
TEST_P(FolderRules, ChecksAndNormalisesInPlace) {
    const FolderCase& c = GetParam();
    char buffer[260];
    strcpy(buffer, c.input);
    EXPECT_EQ(ValidateFolderText(buffer), c.valid);
    EXPECT_STREQ(buffer, c.after);
    if (!c.valid) return;
    EXPECT_EQ(ValidateFolderText(buffer), 1);
    EXPECT_STREQ(buffer, c.after);
}

INSTANTIATE_TEST_SUITE_P(Table, FolderRules, ::testing::ValuesIn(FolderCases));

// The folders MakeFolder creates, top down, found by cutting at the split
// point until none is left.
std::vector<std::string> CreationOrder(const char* path) {
    std::vector<std::string> levels;
    std::string rest = path;
    for (;;) {
        levels.insert(levels.begin(), rest);
        int split = ParentSplitPoint(rest.c_str());
        if (split < 0) return levels;
        rest.resize(static_cast<size_t>(split));
    }
}

TEST(ParentSplit, CreatesParentsTopDownAndNeverCutsAtTheDriveBackslash) {
    using Levels = std::vector<std::string>;
    EXPECT_EQ(CreationOrder("C:\\a\\b\\c"), (Levels{"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}));
    EXPECT_EQ(CreationOrder("C:\\ab cd"), (Levels{"C:\\ab cd"}));
    EXPECT_EQ(CreationOrder("C:\\"), (Levels{"C:\\"}));
    EXPECT_EQ(CreationOrder("C:"), (Levels{"C:"}));
    EXPECT_EQ(ParentSplitPoint("C:\\\\b"), 3);  // a backslash at index 3 is a split point
}

// A file system of a few existing paths; those ending in '@' are links.
const char* const ExistingPaths[] = {"C:\\Links@", "C:\\Plain", "C:\\Plain\\Junction@",
                                     "C:\\Plain\\Folder", "C:\\Plain\\Folder\\file@"};

unsigned long FakeAttributes(const char* path) {
    for (const char* existing : ExistingPaths) {
        const std::string name = existing;
        const bool link = name.back() == '@';
        if (name.substr(0, name.size() - (link ? 1 : 0)) == path) return link ? 0x410ul : 0x10ul;
    }
    return NoSuchPath;
}

struct LinkCase {
    const char* path;
    bool crosses;
};

const LinkCase LinkCases[] = {
    {"C:\\Links", true},                   {"C:\\Links\\new\\deeper", true},
    {"C:\\Plain\\Junction\\x", true},     {"C:\\Plain\\Folder\\file", true},
    {"C:\\Plain\\Folder\\other", false}, {"C:\\Plain\\Junctions", false},
    {"C:\\New\\Links", false},             {"C:\\", false},
};

class LinkRule : public ::testing::TestWithParam<LinkCase> {};

TEST_P(LinkRule, FindsALinkAtAnyLevelBelowTheDriveAndRestoresThePath) {
    char buffer[260];
    strcpy(buffer, GetParam().path);
    EXPECT_EQ(PathCrossesLink(buffer, FakeAttributes), GetParam().crosses);
    EXPECT_STREQ(buffer, GetParam().path);
}

INSTANTIATE_TEST_SUITE_P(Table, LinkRule, ::testing::ValuesIn(LinkCases));

}  // namespace
