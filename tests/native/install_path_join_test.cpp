#include <gtest/gtest.h>
#include <string.h>

#include <string>
#include <vector>

#include "app/path_join.h"

namespace {

const size_t Capacity = 260;
const size_t Guard = 64;
const char Canary = '#';

struct JoinCase {
    const char* label;
    std::vector<size_t> partLengths;
    bool fits;
};

const JoinCase JoinCases[] = {
    {"nothing", {}, true},
    {"one short part", {12}, true},
    {"259 in one part", {259}, true},
    {"259 over four parts", {200, 1, 50, 8}, true},
    {"260 in one part", {260}, false},
    {"260 over three parts", {250, 1, 9}, false},
    {"first part alone too long", {300, 1}, false},
    {"last part tips it over", {259, 0, 1}, false},
};

class BoundedJoin : public ::testing::TestWithParam<JoinCase> {};

TEST_P(BoundedJoin, JoinsWholeOrLeavesEmptyAndWritesNothingPast) {
    const JoinCase& c = GetParam();
    std::vector<std::string> texts;
    std::string expected;
    for (size_t i = 0; i < c.partLengths.size(); ++i) {
        texts.emplace_back(c.partLengths[i], static_cast<char>('a' + i));
        expected += texts.back();
    }
    std::vector<const char*> parts;
    for (const std::string& text : texts) parts.push_back(text.c_str());

    char buffer[Capacity + Guard];
    memset(buffer, Canary, sizeof buffer);
    bool joined = JoinPath(buffer, Capacity, parts.data(), static_cast<int>(parts.size()));

    EXPECT_EQ(joined, c.fits) << c.label;
    EXPECT_EQ(std::string(buffer), c.fits ? expected : std::string()) << c.label;
    size_t used = c.fits ? expected.size() + 1 : 1;
    for (size_t i = used; i < sizeof buffer; ++i) {
        ASSERT_EQ(buffer[i], Canary) << c.label << ": byte " << i << " was written";
    }
}

INSTANTIATE_TEST_SUITE_P(Table, BoundedJoin, ::testing::ValuesIn(JoinCases));

TEST(BoundedJoinEdges, ZeroCapacityWritesNothing) {
    char buffer[4];
    memset(buffer, Canary, sizeof buffer);
    const char* parts[] = {""};
    EXPECT_FALSE(JoinPath(buffer, 0, parts, 1));
    EXPECT_EQ(std::string(buffer, sizeof buffer), "####");
}

TEST(BoundedJoinEdges, ArrayFormUsesTheArrayCapacity) {
    char small[8];
    const char* fits[] = {"C:\\", "abcd"};
    const char* tooLong[] = {"C:\\", "abcde"};
    EXPECT_TRUE(JoinPath(small, fits));
    EXPECT_STREQ(small, "C:\\abcd");
    EXPECT_FALSE(JoinPath(small, tooLong));
    EXPECT_STREQ(small, "");
}

}  // namespace
