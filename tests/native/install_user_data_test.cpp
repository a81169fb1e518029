#include <gtest/gtest.h>

#include "payload/user_data.h"

namespace {

struct NameCase {
    const char* name;
    bool userData;
};

const NameCase NameCases[] = {
    {"DATA.CSV", true},       {"LIST.CSV.OLD", true}, {".CSV", true},
    {"x.csv.CSV", true},      {"A.CSVX", true},       {"data.csv", false},
    {"Data.Csv", false},      {"DATA.CSv", false},    {"DATACSV", false},
    {"DATA. CSV", false},     {"Varnoset.EXE", false}, {"", false},
};

class UserDataName : public ::testing::TestWithParam<NameCase> {};

TEST_P(UserDataName, OnlyExactCaseCsvCounts) {
    EXPECT_EQ(IsUserDataName(GetParam().name), GetParam().userData) << GetParam().name;
}

INSTANTIATE_TEST_SUITE_P(Table, UserDataName, ::testing::ValuesIn(NameCases));

}  // namespace
