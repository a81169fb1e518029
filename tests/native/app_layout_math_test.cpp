#include <gtest/gtest.h>

#include <ostream>

#include "app/layout_math.h"

bool operator==(const LayoutRect& a, const LayoutRect& b) {
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

std::ostream& operator<<(std::ostream& out, const LayoutRect& r) {
    return out << "(" << r.x << ", " << r.y << ", " << r.width << ", " << r.height << ")";
}

namespace {

// The reference logo, a 16-pixel font and the client width of a 480-wide
// window with a 3-pixel frame on each side.
LayoutMeasures ReferenceMeasures() {
    LayoutMeasures m;
    m.logoWidth = 160;
    m.logoHeight = 108;
    m.clientWidth = 474;
    m.lineHeight = 16;
    m.exitWidth = 40;
    m.installWidth = 150;
    m.selectWidth = 140;
    return m;
}

TEST(LayoutMath, WorkedExampleForTheReferenceLogo) {
    EXPECT_EQ(MainWindowRect(108, 1024, 768), (LayoutRect{272, 236, 480, 296}));

    ChildLayout l = ComputeChildLayout(ReferenceMeasures());
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

struct WindowCase {
    const char* name;
    int logoHeight;
    int screenWidth;
    int screenHeight;
    LayoutRect expected;
};

TEST(LayoutMath, MainWindowIsCentredAndTruncatesTowardZero) {
    const WindowCase cases[] = {
        {"fits", 108, 1024, 768, {272, 236, 480, 296}},
        {"odd margins", 108, 1025, 769, {272, 236, 480, 296}},
        // Differences of -5 halve to -2, not -3.
        {"screen smaller by 5", 108, 475, 291, {-2, -2, 480, 296}},
        {"screen smaller by 1", 108, 479, 295, {0, 0, 480, 296}},
        {"taller logo", 300, 1024, 768, {272, 140, 480, 488}},
    };
    for (const WindowCase& c : cases) {
        EXPECT_EQ(MainWindowRect(c.logoHeight, c.screenWidth, c.screenHeight), c.expected) << c.name;
    }
}

TEST(LayoutMath, TallerLogoMovesEveryRowAndButtonDown) {
    LayoutMeasures m = ReferenceMeasures();
    m.logoHeight = 200;  // 92 more than the reference
    ChildLayout l = ComputeChildLayout(m);
    EXPECT_EQ(l.logo, (LayoutRect{8, 8, 166, 206}));
    EXPECT_EQ(l.description, (LayoutRect{182, 8, 284, 206}));
    EXPECT_EQ(l.warning.y, 216);
    EXPECT_EQ(l.copyProgress.y, 324);
    EXPECT_EQ(l.install.y, 326);
    EXPECT_EQ(l.exit.y, 326);
}

TEST(LayoutMath, WiderLogoNarrowsTheDescriptionOnly) {
    LayoutMeasures m = ReferenceMeasures();
    m.logoWidth = 300;
    ChildLayout l = ComputeChildLayout(m);
    EXPECT_EQ(l.logo, (LayoutRect{8, 8, 306, 114}));
    EXPECT_EQ(l.description, (LayoutRect{322, 8, 144, 114}));
    EXPECT_EQ(l.warning, (LayoutRect{8, 124, 458, 16}));
    EXPECT_EQ(l.install, (LayoutRect{88, 234, 150, 24}));
}

struct ButtonCase {
    const char* name;
    int clientWidth;
    int exitWidth;
    int installWidth;
    int selectWidth;
    int installX;
    int selectX;
    int exitX;
};

TEST(LayoutMath, ButtonsAreCentredWithTruncatingHalves) {
    const ButtonCase cases[] = {
        {"reference", 474, 40, 150, 140, 88, 246, 217},
        {"odd remainders", 474, 41, 151, 140, 87, 246, 216},
        // Labels wider than the client area put the pair at a negative x.
        {"labels too wide", 474, 40, 300, 250, -42, 266, 217},
        {"negative odd", 474, 40, 301, 250, -42, 267, 217},
        {"exit wider than client", 474, 481, 150, 140, 88, 246, -3},
    };
    for (const ButtonCase& c : cases) {
        LayoutMeasures m = ReferenceMeasures();
        m.clientWidth = c.clientWidth;
        m.exitWidth = c.exitWidth;
        m.installWidth = c.installWidth;
        m.selectWidth = c.selectWidth;
        ChildLayout l = ComputeChildLayout(m);
        EXPECT_EQ(l.install.x, c.installX) << c.name;
        EXPECT_EQ(l.install.width, c.installWidth) << c.name;
        EXPECT_EQ(l.select.x, c.selectX) << c.name;
        EXPECT_EQ(l.select.width, c.selectWidth) << c.name;
        EXPECT_EQ(l.exit.x, c.exitX) << c.name;
        EXPECT_EQ(l.exit.width, c.exitWidth) << c.name;
    }
}

struct LineCase {
    int lineHeight;
    int firstRowY;
    int seventhRowY;
    int buttonTop;
    int buttonHeight;
};

TEST(LayoutMath, RowsAndButtonsFollowTheLineHeight) {
    const LineCase cases[] = {
        {16, 124, 232, 234, 24},
        {17, 124, 238, 240, 25},  // 3 * 17 / 2 = 25.5 truncates
        {13, 124, 214, 216, 19},  // 19.5 truncates
        {1, 124, 142, 144, 1},
        // A large font pushes the buttons below a 296-high window; nothing clips.
        {40, 124, 376, 378, 60},
    };
    for (const LineCase& c : cases) {
        LayoutMeasures m = ReferenceMeasures();
        m.lineHeight = c.lineHeight;
        ChildLayout l = ComputeChildLayout(m);
        EXPECT_EQ(l.warning.y, c.firstRowY) << c.lineHeight;
        EXPECT_EQ(l.warning.height, c.lineHeight) << c.lineHeight;
        EXPECT_EQ(l.os.y - l.warning.y, c.lineHeight + 2) << c.lineHeight;
        EXPECT_EQ(l.copyProgress.y, c.seventhRowY) << c.lineHeight;
        EXPECT_EQ(l.install.y, c.buttonTop) << c.lineHeight;
        EXPECT_EQ(l.install.height, c.buttonHeight) << c.lineHeight;
        EXPECT_EQ(l.exit.height, c.buttonHeight) << c.lineHeight;
    }
}

}  // namespace
