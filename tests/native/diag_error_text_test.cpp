#include <gtest/gtest.h>
#include <stdint.h>

#include "diag/error_rows.h"
#include "diag/error_table.h"
#include "diag/error_text.h"

namespace {

struct ErrorTextCase {
    int32_t code;
    const char* expected;
};

class ErrorTextTest : public ::testing::TestWithParam<ErrorTextCase> {};

TEST_P(ErrorTextTest, GivesTheRowTextOrTheFallback) {
    const ErrorTextCase& c = GetParam();
    EXPECT_STREQ(ErrorText(c.code), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Codes, ErrorTextTest,
    ::testing::Values(ErrorTextCase{0, "no error or error success"}, ErrorTextCase{23, "CRC"},
                      ErrorTextCase{35, "unknown error code 35"},  // a gap inside the range
                      ErrorTextCase{197, "IOPL  not enabled"},     // two blanks kept
                      ErrorTextCase{6118, "no browser servers found"}, ErrorTextCase{6119, "unknown error code 6119"},
                      ErrorTextCase{-8, "LZ unknown alg"}, ErrorTextCase{-9, "unknown error code -9"},
                      ErrorTextCase{INT32_MIN, "unknown error code -2147483648"}));  // the longest

TEST(ErrorTextFallback, NextFallbackOverwritesThePreviousTextAndKnownCodesLeaveIt) {
    const char* first = ErrorText(35);
    EXPECT_STREQ(ErrorText(37), "unknown error code 37");
    EXPECT_STREQ(ErrorText(2), "file not found");
    EXPECT_STREQ(first, "unknown error code 37");
}

// setup.exe carries the table packed: what it unpacks must be the source
// table, row for row, and each row must be found by its code.
TEST(ErrorTable, UnpacksToTheSourceRowsEachFoundByItsCode) {
    ASSERT_EQ(ErrorTableRows, 576);
    const ErrorRowSpan rows = UnpackedErrorRows();
    ErrorRow row = {0, nullptr};
    int i = 0;
    for (const char* at = rows.begin; at < rows.end; ++i) {
        ASSERT_LT(i, ErrorTableRows) << "more rows unpacked than written down";
        if (i > 0) { EXPECT_LT(ErrorTable[i - 1].code, ErrorTable[i].code) << "row " << i; }
        at = ReadErrorRow(at, &row);
        EXPECT_EQ(row.code, ErrorTable[i].code) << "row " << i;
        EXPECT_STREQ(row.text, ErrorTable[i].text) << "row " << i;
        EXPECT_EQ(ErrorText(row.code), row.text) << "code " << row.code;
    }
    EXPECT_EQ(i, ErrorTableRows);
}

// How many rows each range of codes holds; a row lost or duplicated while
// the table was written down shows up in its range.
TEST(ErrorTable, RangesHoldTheirNumberOfRows) {
    const struct {
        int32_t first, last;
        int rows;
    } ranges[] = {
        {-8, -1, 8},      {0, 99, 70},      {100, 199, 83},  {200, 999, 42},  {1000, 1099, 50},
        {1100, 1199, 32}, {1200, 1299, 22}, {1300, 1399, 94}, {1400, 1599, 54}, {1700, 1799, 95},
        {1800, 1999, 20}, {2000, 6118, 6},
    };
    for (const auto& range : ranges) {
        int rows = 0;
        for (int i = 0; i < ErrorTableRows; ++i) rows += ErrorTable[i].code >= range.first && ErrorTable[i].code <= range.last;
        EXPECT_EQ(rows, range.rows) << range.first << ".." << range.last;
    }
}

}  // namespace
