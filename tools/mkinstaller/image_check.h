// Checks of the logo bitmap and the icon file. The installer paints the logo
// straight from its resource bytes, so the checks follow what it assumes.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

// Returns why `bmp` (a whole .bmp file) cannot be the installer's logo, or "".
std::string LogoProblem(const std::vector<uint8_t>& bmp);

// Returns why `ico` (a whole .ico file) is not a usable icon, or "".
std::string IconProblem(const std::vector<uint8_t>& ico);
