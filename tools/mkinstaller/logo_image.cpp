#include "tools/mkinstaller/logo_image.h"

#define STB_IMAGE_IMPLEMENTATION
#define STBI_ONLY_PNG
#define STBI_ONLY_BMP
#define STBI_NO_STDIO
#include <stb/stb_image.h>

#include <memory>

#include "tools/mkinstaller/image_check.h"
#include "common/little_endian.h"

namespace {

constexpr size_t FileHeaderBytes = 14, InfoHeaderBytes = 40;
constexpr int BackgroundGrey = 192;  // the window's LTGRAY_BRUSH
constexpr int MaxSide = 4096;        // far beyond the window, small enough to hold

uint8_t OverGrey(uint8_t colour, uint8_t alpha) {
    return static_cast<uint8_t>((colour * alpha + BackgroundGrey * (255 - alpha) + 127) / 255);
}

// RGBA pixels, top row first, as a 24-bit bottom-up bitmap.
std::vector<uint8_t> Dib24(const uint8_t* rgba, int width, int height) {
    const uint32_t rowBytes = (static_cast<uint32_t>(width) * 3 + 3) / 4 * 4;
    std::vector<uint8_t> dib;
    for (uint32_t v : {uint32_t(InfoHeaderBytes), uint32_t(width), uint32_t(height)}) AppendLittleEndian(dib, v, 4);
    AppendLittleEndian(dib, 1, 2);   // planes
    AppendLittleEndian(dib, 24, 2);  // bits per pixel
    for (uint32_t v : {0u, rowBytes * static_cast<uint32_t>(height), 2835u, 2835u, 0u, 0u})
        AppendLittleEndian(dib, v, 4);
    for (int y = height - 1; y >= 0; --y) {
        const uint8_t* pixel = rgba + static_cast<size_t>(y) * width * 4;
        for (int x = 0; x < width; ++x, pixel += 4) {
            for (int channel : {2, 1, 0}) dib.push_back(OverGrey(pixel[channel], pixel[3]));
        }
        dib.resize(dib.size() + (rowBytes - static_cast<uint32_t>(width) * 3), 0);
    }
    return dib;
}

}  // namespace

LogoBitmap LogoFromFile(const std::vector<uint8_t>& file) {
    const std::string asIs = LogoProblem(file);
    if (asIs.empty()) return {{file.begin() + FileHeaderBytes, file.end()}, ""};
    int width = 0, height = 0, channels = 0;
    // The header alone says how large the picture is: a few bytes may ask
    // for gigabytes of pixels, refused before any is decoded.
    if (stbi_info_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels) &&
        (width > MaxSide || height > MaxSide)) {
        return {{}, "is larger than 4096 pixels on a side"};
    }
    std::unique_ptr<stbi_uc, void (*)(void*)> pixels(
        stbi_load_from_memory(file.data(), static_cast<int>(file.size()), &width, &height, &channels, 4),
        stbi_image_free);
    if (!pixels) {
        const bool bmp = file.size() >= 2 && file[0] == 'B' && file[1] == 'M';
        return {{},
                bmp ? asIs + ", and cannot be converted (" + stbi_failure_reason() + ")"
                    : "is neither a PNG nor a BMP image"};
    }
    if (width > MaxSide || height > MaxSide) return {{}, "is larger than 4096 pixels on a side"};
    return {Dib24(pixels.get(), width, height), ""};
}

std::string LogoFileProblem(const std::vector<uint8_t>& file) {
    return LogoFromFile(file).problem;
}
