// The logo as the installer paints it: a packed bitmap (BITMAPINFOHEADER,
// colour table, bottom-up rows), which is the LOGO resource.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

struct LogoBitmap {
    std::vector<uint8_t> dib;  // empty when the file cannot serve
    std::string problem;       // why not, for the message
};

// A BMP already in the form the installer paints is taken byte for byte.
// Any other PNG or BMP (top-down, 32 bits from image editors, bit fields)
// becomes 24 bits per pixel, transparent parts over the window's grey.
LogoBitmap LogoFromFile(const std::vector<uint8_t>& file);

// The problem of LogoFromFile, for the manifest's checks.
std::string LogoFileProblem(const std::vector<uint8_t>& file);
