#include "tests/win/driver/layout_expect.h"

#include <gtest/gtest.h>

// Found by argument-dependent lookup, so beside LayoutRect.
static bool operator==(const LayoutRect& a, const LayoutRect& b)
{
    return a.x == b.x && a.y == b.y && a.width == b.width && a.height == b.height;
}

static void PrintTo(const LayoutRect& r, std::ostream* os)
{
    *os << "(" << r.x << ", " << r.y << ", " << r.width << " x " << r.height << ")";
}

namespace {

enum Child { Logo, Description, Os, Architecture, Warning, Status, Message, Folder, Unpack, Copy, Install, Select, Exit };

// The installer's worked example: logo 160 x 108, line height 16, client
// width 474; button label widths chosen so the centring arithmetic is visible.
LayoutInput WorkedExample()
{
    return {160, 108, 16, 474, 40, 150, 140, 1024, 768};
}

TEST(ExpectedLayout, WorkedExamplePlacesEveryChild)
{
    LayoutRect r[LayoutChildCount];
    ExpectedChildren(WorkedExample(), r);
    const struct { Child child; LayoutRect rect; } cases[] = {
        {Logo, {8, 8, 166, 114}},
        {Description, {182, 8, 284, 114}},
        {Warning, {8, 124, 458, 16}},
        {Os, {8, 142, 458, 16}},
        {Architecture, {8, 160, 458, 16}},
        {Status, {8, 178, 458, 16}},
        {Unpack, {8, 196, 458, 16}},
        {Folder, {8, 196, 458, 16}},
        {Message, {8, 214, 458, 16}},
        {Copy, {8, 232, 458, 16}},
        {Install, {88, 234, 150, 24}},   // (474 - 140 - 150 - 8) / 2 = 88
        {Select, {246, 234, 140, 24}},   // 88 + 150 + 8
        {Exit, {217, 234, 40, 24}},      // (474 - 40) / 2
    };
    for (const auto& c : cases) EXPECT_EQ(r[c.child], c.rect) << "child " << c.child;
}

TEST(ExpectedLayout, MainWindowIsCentredAndAsTallAsTheLogoAllows)
{
    const struct { int logoHeight, screenWidth, screenHeight; LayoutRect rect; } cases[] = {
        {108, 1024, 768, {272, 236, 480, 296}},
        {108, 475, 300, {-2, 2, 480, 296}},   // -5 / 2 truncates toward zero
        {108, 480, 291, {0, -2, 480, 296}},   // -5 / 2 again, vertically
        {300, 1024, 768, {272, 140, 480, 488}},
    };
    for (const auto& c : cases) {
        LayoutInput in = WorkedExample();
        in.logoHeight = c.logoHeight;
        in.screenWidth = c.screenWidth;
        in.screenHeight = c.screenHeight;
        EXPECT_EQ(ExpectedMainWindow(in), c.rect) << c.screenWidth << " x " << c.screenHeight;
    }
}

TEST(ExpectedLayout, ButtonPairTooWideStartsLeftOfTheWindow)
{
    const struct { int install, select, installX, selectX; } cases[] = {
        {300, 250, -42, 266},  // (474 - 558) / 2 = -42
        {301, 250, -42, 267},  // -85 / 2 = -42, not -43
    };
    for (const auto& c : cases) {
        LayoutInput in = WorkedExample();
        in.installWidth = c.install;
        in.selectWidth = c.select;
        LayoutRect r[LayoutChildCount];
        ExpectedChildren(in, r);
        EXPECT_EQ(r[Install].x, c.installX);
        EXPECT_EQ(r[Select].x, c.selectX);
    }
}

TEST(ExpectedLayout, LineHeightMovesRowsAndButtonsButNotTheLogo)
{
    LayoutInput in = WorkedExample();
    in.lineHeight = 40;
    LayoutRect r[LayoutChildCount];
    ExpectedChildren(in, r);
    EXPECT_EQ(r[Logo], (LayoutRect{8, 8, 166, 114}));
    EXPECT_EQ(r[Copy], (LayoutRect{8, 124 + 6 * 42, 458, 40}));
    EXPECT_EQ(r[Exit].y, 124 + 6 * 42 + 2);
    EXPECT_EQ(r[Exit].height, 60);
    EXPECT_EQ(ExpectedMainWindow(in).height, 296);
}

TEST(ExpectedLayout, WiderLogoNarrowsTheDescription)
{
    LayoutInput in = WorkedExample();
    in.logoWidth = 200;
    LayoutRect r[LayoutChildCount];
    ExpectedChildren(in, r);
    EXPECT_EQ(r[Description], (LayoutRect{222, 8, 244, 114}));
    EXPECT_EQ(ExpectedMainWindow(in).width, 480);
}

TEST(ProbeText, HoldsThePrintableAsciiWithoutSpaceAndQuote)
{
    std::string probe = LayoutProbeText;
    EXPECT_EQ(probe.size(), 93u);
    EXPECT_EQ(probe.find('"'), std::string::npos);
    EXPECT_EQ(probe.find(' '), std::string::npos);
    for (size_t i = 1; i < probe.size(); ++i) EXPECT_LT(probe[i - 1], probe[i]);
    EXPECT_EQ(probe.front(), '!');
    EXPECT_EQ(probe.back(), '~');
}

} // namespace
