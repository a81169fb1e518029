// The layout rules check-layout holds the installer to, against rectangles
// worked out by hand.
#include "tools/mkinstaller/driver/layout_expect.h"

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

// Logo 160 x 108, line height 16, client width 474; button label widths
// chosen so the centring arithmetic is visible.
const LayoutInput Example = {160, 108, 16, 474, 40, 150, 140, 1024, 768};

TEST(ExpectedLayout, PlacesEveryChild)
{
    LayoutInput tall = Example, wide = Example, crowded = Example;
    tall.lineHeight = 40;
    wide.logoWidth = 200;
    crowded.installWidth = 301;
    crowded.selectWidth = 250;
    const struct { const LayoutInput& in; Child child; LayoutRect rect; } cases[] = {
        {Example, Logo, {8, 8, 166, 114}},
        {Example, Description, {182, 8, 284, 114}},
        {Example, Warning, {8, 124, 458, 16}},
        {Example, Os, {8, 142, 458, 16}},
        {Example, Architecture, {8, 160, 458, 16}},
        {Example, Status, {8, 178, 458, 16}},
        {Example, Unpack, {8, 196, 458, 16}},
        {Example, Folder, {8, 196, 458, 16}},
        {Example, Message, {8, 214, 458, 16}},
        {Example, Copy, {8, 232, 458, 16}},
        {Example, Install, {88, 234, 150, 24}},  // (474 - 140 - 150 - 8) / 2 = 88
        {Example, Select, {246, 234, 140, 24}},  // 88 + 150 + 8
        {Example, Exit, {217, 234, 40, 24}},     // (474 - 40) / 2
        {tall, Logo, {8, 8, 166, 114}},
        {tall, Copy, {8, 376, 458, 40}},         // 124 + 6 * 42
        {tall, Exit, {217, 378, 40, 60}},
        {wide, Description, {222, 8, 244, 114}},
        {crowded, Install, {-42, 234, 301, 24}}, // -85 / 2 truncates toward zero
        {crowded, Select, {267, 234, 250, 24}},
    };
    for (const auto& c : cases) {
        LayoutRect r[LayoutChildCount];
        ExpectedChildren(c.in, r);
        EXPECT_EQ(r[c.child], c.rect) << "child " << c.child << ", line height " << c.in.lineHeight;
    }
}

TEST(ExpectedLayout, MainWindowIsCentredAndAsTallAsTheLogoAllows)
{
    const struct { int logoHeight, screenWidth, screenHeight; LayoutRect rect; } cases[] = {
        {108, 1024, 768, {272, 236, 480, 296}},
        {108, 475, 300, {-2, 2, 480, 296}},  // -5 / 2 truncates toward zero
        {108, 480, 291, {0, -2, 480, 296}},  // -5 / 2 again, vertically
        {300, 1024, 768, {272, 140, 480, 488}},
    };
    for (const auto& c : cases) {
        LayoutInput in = Example;
        in.logoHeight = c.logoHeight;
        in.screenWidth = c.screenWidth;
        in.screenHeight = c.screenHeight;
        EXPECT_EQ(ExpectedMainWindow(in), c.rect) << c.screenWidth << " x " << c.screenHeight;
    }
}

} // namespace
