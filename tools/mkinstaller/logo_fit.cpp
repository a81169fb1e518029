#include "tools/mkinstaller/logo_fit.h"

#include <sstream>
#include <vector>

#include "common/layout_math.h"

namespace {

constexpr int ScreenHeight = 600;
constexpr int HighestLogo = ScreenHeight - MainWindowHeightBelowLogo;
// The window's client area inside the widest frame Windows draws (8 pixels a
// side), and the text as the largest default font sets it: lines of 16
// pixels, characters of 8 on average (both measured larger under Wine than
// on Windows at 96 DPI, where they are 13 and about 6).
constexpr int ClientWidth = MainWindowWidth - 16;
constexpr int LineHeight = 16;
constexpr int CharacterWidth = 8;

std::vector<std::string> Words(const std::string& line) {
    std::istringstream in(line);
    std::vector<std::string> words;
    for (std::string word; in >> word;) words.push_back(word);
    return words;
}

// Lines the text takes when wrapped at word ends to `width` pixels, as the
// centred static text wraps it; a large number when a word is wider.
int LinesNeeded(const std::string& introText, int width) {
    constexpr int NeverFits = 1 << 20;
    int lines = 0;
    std::istringstream in(introText);
    for (std::string line; std::getline(in, line);) {
        int used = 0;
        ++lines;
        for (const std::string& word : Words(line)) {
            const int wordWidth = static_cast<int>(word.size()) * CharacterWidth;
            if (wordWidth > width) return NeverFits;
            if (used > 0 && used + CharacterWidth + wordWidth > width) {
                ++lines;
                used = 0;
            }
            used += (used > 0 ? CharacterWidth : 0) + wordWidth;
        }
    }
    return lines;
}

bool TextFits(int width, int height, const std::string& introText) {
    const int textWidth = DescriptionWidth(width, ClientWidth);
    return textWidth > 0 && LinesNeeded(introText, textWidth) * LineHeight <= DescriptionHeight(height);
}

// The widest logo of this height beside which the text fits; 0 for none.
int WidestLogo(int height, const std::string& introText) {
    int width = DescriptionWidth(0, ClientWidth);
    while (width > 0 && !TextFits(width, height, introText)) --width;
    return width;
}

// The lowest logo of this width beside which the text fits; 0 for none.
int LowestLogo(int width, const std::string& introText) {
    for (int height = 1; height <= HighestLogo; ++height) {
        if (TextFits(width, height, introText)) return height;
    }
    return 0;
}

}  // namespace

std::string LogoFitProblem(int width, int height, const std::string& introText) {
    const std::string size = "is " + std::to_string(width) + " x " + std::to_string(height) + " pixels";
    if (height > HighestLogo) {
        return size + ": the window would be " + std::to_string(height + MainWindowHeightBelowLogo) +
               " pixels high, its buttons off an 800 x 600 screen; a logo may be at most " +
               std::to_string(HighestLogo) + " pixels high";
    }
    if (TextFits(width, height, introText)) return "";
    std::string fits;
    if (const int widest = WidestLogo(height, introText)) fits = "at most " + std::to_string(widest) + " wide";
    if (const int lowest = LowestLogo(width, introText)) {
        fits += (fits.empty() ? "" : ", or ") + std::string("at least ") + std::to_string(lowest) + " high";
    }
    if (fits.empty()) fits = "smaller; the intro text is too long for the window at any logo size";
    return size +
           ": the window could not show all of the intro text beside it; with this intro text the logo "
           "must be " +
           fits;
}
