#include <gtest/gtest.h>

#include "payload/user_data.h"

namespace {

TEST(UserDataName, OnlyExactCaseCsvCounts) {
    const struct {
        const char* name;
        bool userData;
    } cases[] = {
        {"DATA.CSV", true},  {".CSV", true}, {"LIST.CSV.OLD", true}, {"x.csv.CSV", true}, {"A.CSVX", true},
        {"data.csv", false}, {"DATA.CSv", false},    {"DATACSV", false},  {"DATA. CSV", false}, {"", false},
    };
    for (const auto& c : cases) EXPECT_EQ(IsUserDataName(c.name), c.userData) << c.name;
}

}  // namespace
