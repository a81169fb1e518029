// Whether the installer's window shows all its texts and buttons beside a
// logo, on the smallest screen a product is made for (800 x 600): the
// window's height, and the intro text in the pane beside the logo.
#pragma once

#include <string>

// Why a logo of `width` x `height` pixels leaves something of the window
// unseen with this intro text (Windows-1252, lines ended by '\n'), with the
// sizes that would fit; "" when it fits.
std::string LogoFitProblem(int width, int height, const std::string& introText);
