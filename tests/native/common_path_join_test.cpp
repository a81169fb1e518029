#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "common/path_join.h"

namespace {

const size_t Capacity = 260;
const char Canary = '#';

struct JoinCase {
    std::vector<size_t> partLengths;
    bool fits;
};

const JoinCase JoinCases[] = {
    {{}, true},         {{259}, true},     {{200, 1, 50, 8}, true}, {{260}, false},
    {{250, 1, 9}, false}, {{300, 1}, false}, {{259, 0, 1}, false},  // the last part tips it over
};

class BoundedJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(BoundedJoin, JoinsWholeOrLeavesEmptyAndWritesNothingPast) {
    const JoinCase& c = GetParam();
    std::vector<std::string> texts;
    std::vector<const char*> parts;
    std::string expected;
    for (size_t i = 0; i < c.partLengths.size(); ++i) texts.emplace_back(c.partLengths[i], static_cast<char>('a' + i));
    for (const std::string& text : texts) {
        parts.push_back(text.c_str());
        expected += text;
    }

    char buffer[Capacity + 64];
    memset(buffer, Canary, sizeof buffer);
    EXPECT_EQ(JoinPath(buffer, Capacity, parts.data(), static_cast<int>(parts.size())), c.fits);
    EXPECT_EQ(std::string(buffer), c.fits ? expected : std::string());
    for (size_t i = c.fits ? expected.size() + 1 : 1; i < sizeof buffer; ++i) {
        ASSERT_EQ(buffer[i], Canary) << "byte " << i << " was written";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BoundedJoin, ::testing::ValuesIn(JoinCases));

TEST(BoundedJoinEdges, ZeroCapacityWritesNothingAndTheArrayFormUsesTheArraySize) {
    char small[8];
    memset(small, Canary, sizeof small);
    const char* empty[] = {""};
    EXPECT_FALSE(JoinPath(small, 0, empty, 1));
    EXPECT_EQ(small[0], Canary);
    const char* fits[] = {"C:\\", "abcd"};
    const char* tooLong[] = {"C:\\", "abcde"};
    EXPECT_TRUE(JoinPath(small, fits));
    EXPECT_STREQ(small, "C:\\abcd");
    EXPECT_FALSE(JoinPath(small, tooLong));
    EXPECT_STREQ(small, "");
}

}  // namespace
