#include <gtest/gtest.h>

#include <ostream>

#include "common/layout_math.h"

bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const LayoutRect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

namespace {

// The reference logo, a 16-pixel font, the client width of a 480-wide
// window with a 3-pixel frame on each side and the reference labels.
LayoutMeasures Measures(int logoWidth = 160, int logoHeight = 108, int lineHeight = 16, int exitWidth = 40,
                        int installWidth = 150, int selectWidth = 140) {
    return LayoutMeasures{logoWidth, logoHeight, 474, lineHeight, exitWidth, installWidth, selectWidth};
}

TEST(LayoutMath, WorkedExampleForTheReferenceLogo) {
    ChildLayout l = ComputeChildLayout(Measures());
    EXPECT_EQ(l.logo, (LayoutRect{8, 8, 166, 114}));
    EXPECT_EQ(l.description, (LayoutRect{182, 8, 284, 114}));
    EXPECT_EQ(l.warning, (LayoutRect{8, 124, 458, 16}));
    EXPECT_EQ(l.os, (LayoutRect{8, 142, 458, 16}));
    EXPECT_EQ(l.architecture, (LayoutRect{8, 160, 458, 16}));
    EXPECT_EQ(l.status, (LayoutRect{8, 178, 458, 16}));
    EXPECT_EQ(l.unpackProgress, (LayoutRect{8, 196, 458, 16}));
    EXPECT_EQ(l.folder, (LayoutRect{8, 196, 458, 16}));
    EXPECT_EQ(l.message, (LayoutRect{8, 214, 458, 16}));
    EXPECT_EQ(l.copyProgress, (LayoutRect{8, 232, 458, 16}));
    // The pair is centred: (474 - 140 - 150 - 8) / 2 = 88, 8 pixels apart.
    EXPECT_EQ(l.install, (LayoutRect{88, 234, 150, 24}));
    EXPECT_EQ(l.select, (LayoutRect{246, 234, 140, 24}));
    EXPECT_EQ(l.exit, (LayoutRect{217, 234, 40, 24}));
}

TEST(LayoutMath, MainWindowIsCentredAndTruncatesTowardZero) {
    const struct {
        int logoHeight, screenWidth, screenHeight;
        LayoutRect expected;
    } cases[] = {
        {108, 1024, 768, {272, 236, 480, 296}},
        {108, 1025, 769, {272, 236, 480, 296}},
        {108, 475, 291, {-2, -2, 480, 296}},  // -5 halves to -2, not -3
        {300, 1024, 768, {272, 140, 480, 488}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(MainWindowRect(c.logoHeight, c.screenWidth, c.screenHeight), c.expected) << c.screenWidth;
    }
}

// A larger logo moves the rows down and narrows the description; lines of
// 17 pixels put the rows 19 apart and make the buttons 3 * 17 / 2 = 25.5,
// truncated, high.
TEST(LayoutMath, FollowsTheLogoSizeAndTheLineHeight) {
    ChildLayout l = ComputeChildLayout(Measures(300, 200, 17));
    EXPECT_EQ(l.logo, (LayoutRect{8, 8, 306, 206}));
    EXPECT_EQ(l.description, (LayoutRect{322, 8, 144, 206}));
    EXPECT_EQ(l.warning, (LayoutRect{8, 216, 458, 17}));
    EXPECT_EQ(l.os.y, 216 + 19);
    EXPECT_EQ(l.copyProgress.y, 216 + 6 * 19);
    EXPECT_EQ(l.install, (LayoutRect{88, 332, 150, 25}));
    EXPECT_EQ(l.exit.y, 332);
}

TEST(LayoutMath, ButtonsAreCentredWithTruncatingHalves) {
    const struct {
        int exitWidth, installWidth, selectWidth;
        int installX, selectX, exitX;
    } cases[] = {
        {41, 151, 140, 87, 246, 216},
        // Labels wider than the client area give negative positions.
        {40, 301, 250, -42, 267, 217},
        {481, 150, 140, 88, 246, -3},
    };
    for (const auto& c : cases) {
        ChildLayout l = ComputeChildLayout(Measures(160, 108, 16, c.exitWidth, c.installWidth, c.selectWidth));
        EXPECT_EQ(l.install.x, c.installX) << c.installWidth;
        EXPECT_EQ(l.select.x, c.selectX) << c.installWidth;
        EXPECT_EQ(l.exit.x, c.exitX) << c.installWidth;
        EXPECT_EQ(l.exit.width, c.exitWidth);
    }
}

}  // namespace
