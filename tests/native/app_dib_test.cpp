#include <gtest/gtest.h>

#include "app/dib.h"

namespace {

struct DibCase {
    uint16_t bitCount;
    uint32_t clrUsed;
    int expected;
};

class DibColorCountTest : public ::testing::TestWithParam<DibCase> {};

TEST_P(DibColorCountTest, CountsTheEntriesBeforeThePixels) {
    const DibCase& c = GetParam();
    EXPECT_EQ(DibColorCount(c.bitCount, c.clrUsed), c.expected);
}

INSTANTIATE_TEST_SUITE_P(
    Depths, DibColorCountTest,
    ::testing::Values(DibCase{1, 0, 2}, DibCase{1, 1, 1}, DibCase{4, 0, 16}, DibCase{4, 5, 5},
                      DibCase{8, 0, 256}, DibCase{8, 256, 256}, DibCase{8, 16, 16},
                      DibCase{24, 0, 0}, DibCase{24, 7, 0},  // no palette whatever biClrUsed says
                      DibCase{32, 0, 3}, DibCase{32, 256, 3},  // three masks, always
                      DibCase{16, 0, -1}, DibCase{16, 3, -1}, DibCase{0, 0, -1},
                      DibCase{2, 0, -1}, DibCase{64, 0, -1}));

}  // namespace
