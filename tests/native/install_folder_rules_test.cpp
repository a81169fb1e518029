#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/folder_rules.h"

namespace {

struct FolderCase {
    const char* input;
    int valid;
    const char* after;  // the buffer once the check is done
};

const FolderCase FolderCases[] = {
    {"c:\\tools", 1, "C:\\tools"},
    {"C:\\tools", 1, "C:\\tools"},
    {"C:\\x", 1, "C:\\x"},
    {"Z:\\x", 1, "Z:\\x"},
    {"C:\\tools\\", 1, "C:\\tools"},
    {"C:\\a b/c*?", 1, "C:\\a b/c*?"},
    {"C:\\Holbrine\\Varnoset", 1, "C:\\Holbrine\\Varnoset"},
    {"D:\\", 0, "D:"},
    {"C:\\", 0, "C:"},
    {"C:", 0, "C:"},
    {"A:\\x", 0, "A:\\x"},
    {"B:\\x", 0, "B:\\x"},
    {"a:\\x", 0, "A:\\x"},
    {"[:\\x", 0, "[:\\x"},
    {"1:\\x", 0, "1:\\x"},
    {"\\\\server\\share", 0, "\\\\server\\share"},
    {"C:\\a:b", 0, "C:\\a:b"},
    {"C::\\a", 0, "C::\\a"},
    {"C:\\a\\\\b", 0, "C:\\a\\\\b"},
    {"C:\\tools\\\\", 0, "C:\\tools\\\\"},
    {"C:/tools", 0, "C:/tools"},
    {"Ctools", 0, "Ctools"},
    {"c", 0, "C"},
    {"", 0, ""},
};

class FolderRules : public ::testing::TestWithParam<FolderCase> {};

TEST_P(FolderRules, ChecksAndNormalisesInPlace) {
    const FolderCase& c = GetParam();
    char buffer[260];
    strcpy(buffer, c.input);
    EXPECT_EQ(ValidateFolderText(buffer), c.valid);
    EXPECT_STREQ(buffer, c.after);
}

INSTANTIATE_TEST_SUITE_P(Table, FolderRules, ::testing::ValuesIn(FolderCases));

TEST(FolderRulesTwice, SecondCallOnAcceptedFolderChangesNothing) {
    for (const FolderCase& c : FolderCases) {
        if (!c.valid) continue;
        char buffer[260];
        strcpy(buffer, c.input);
        ValidateFolderText(buffer);
        EXPECT_EQ(ValidateFolderText(buffer), 1) << c.input;
        EXPECT_STREQ(buffer, c.after) << c.input;
    }
}

TEST(FolderRulesLimits, LongestFolderIsAccepted) {
    char buffer[260];
    std::string folder = "C:\\" + std::string(256, 'x');
    ASSERT_EQ(folder.size(), 259u);
    strcpy(buffer, folder.c_str());
    EXPECT_EQ(ValidateFolderText(buffer), 1);
    EXPECT_EQ(folder, buffer);
}

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

struct SplitCase {
    const char* path;
    std::vector<std::string> levels;
};

const SplitCase SplitCases[] = {
    {"C:\\a\\b\\c", {"C:\\a", "C:\\a\\b", "C:\\a\\b\\c"}},
    {"C:\\Holbrine\\Varnoset", {"C:\\Holbrine", "C:\\Holbrine\\Varnoset"}},
    {"C:\\x", {"C:\\x"}},
    {"C:\\", {"C:\\"}},
    {"C:", {"C:"}},
    {"C:\\ab cd", {"C:\\ab cd"}},
    {"C:\\a\\b", {"C:\\a", "C:\\a\\b"}},
};

class ParentSplit : public ::testing::TestWithParam<SplitCase> {};

TEST_P(ParentSplit, CreatesParentsTopDown) {
    EXPECT_EQ(CreationOrder(GetParam().path), GetParam().levels);
}

INSTANTIATE_TEST_SUITE_P(Table, ParentSplit, ::testing::ValuesIn(SplitCases));

TEST(ParentSplitPoint, NeverCutsAtTheDriveBackslash) {
    EXPECT_EQ(ParentSplitPoint("C:\\abc"), -1);
    EXPECT_EQ(ParentSplitPoint("C:\\\\b"), 3);  // a backslash at index 3 is a split point
}

}  // namespace
