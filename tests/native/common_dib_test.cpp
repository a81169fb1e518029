#include <gtest/gtest.h>

#include "common/dib.h"

namespace {

TEST(DibColorCount, CountsTheEntriesBeforeThePixels) {
    const struct {
        uint16_t bitCount;
        uint32_t clrUsed;
        int expected;
    } cases[] = {
        {1, 0, 2},  {1, 1, 1},   {4, 0, 16}, {4, 5, 5},     {8, 0, 256},  {8, 16, 16},
        {24, 7, 0},                          // no palette whatever biClrUsed says
        {32, 0, 3}, {32, 256, 3},            // three masks, always
        {16, 0, -1}, {0, 0, -1}, {2, 0, -1}, {64, 0, -1},
    };
    for (const auto& c : cases) EXPECT_EQ(DibColorCount(c.bitCount, c.clrUsed), c.expected) << c.bitCount << "/" << c.clrUsed;
}

}  // namespace
