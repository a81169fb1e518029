// The window shows all its texts and buttons beside the logo on an 800 x 600
// screen, or the logo is refused with the sizes that would fit; the limits
// hold to the pixel.
#include <gtest/gtest.h>

#include "tools/mkinstaller/logo_fit.h"

namespace {

const std::string Intro =
    "This program will install\nVersion 2.18 of Varnoset\nVarnoset, charts for the small office\n"
    "by Holbrine Software\nMarrow Falls, Vermont\n";

TEST(LogoFit, HoldsToThePixel) {
    const struct {
        int width, height;
        std::string intro;
        const char* problem;  // "" when the logo fits
    } cases[] = {
        {160, 108, Intro, ""},
        {242, 108, Intro, ""},
        {243, 108, Intro, "is 243 x 108 pixels: the window could not show all of the intro text beside it; with this "
                          "intro text the logo must be at most 242 wide, or at least 122 high"},
        {1, 74, Intro, ""},
        {1, 73, Intro, "with this intro text the logo must be at least 74 high"},
        {600, 100, Intro, "must be at most 234 wide"},
        {160, 412, Intro, ""},
        {160, 413, Intro, "is 160 x 413 pixels: the window would be 601 pixels high, its buttons off an 800 x 600 "
                          "screen; a logo may be at most 412 pixels high"},
        {1, 400, "Version 1 of " + std::string(60, 'x') + "\n", "too long for the window at any logo size"},
    };
    for (const auto& c : cases) {
        const std::string problem = LogoFitProblem(c.width, c.height, c.intro);
        if (*c.problem == '\0') {
            EXPECT_EQ(problem, "") << c.width << " x " << c.height;
        } else {
            EXPECT_NE(problem.find(c.problem), std::string::npos) << c.width << " x " << c.height << ": " << problem;
        }
    }
}

}  // namespace
