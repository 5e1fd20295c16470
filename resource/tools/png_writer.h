#pragma once

#include <cstdint>
#include <vector>

namespace Brennovar::Resources {

/// An image of 8-bit RGBA pixels, rows top to bottom, no padding.
struct RgbaImage {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> pixels;
};

/// Encodes the image as a PNG: 8-bit RGBA, not interlaced, with a pHYs chunk giving
/// `pixelsPerMetre` in both directions. Each row takes the filter that gives the smallest sum
/// of absolute differences. Empty when the pixel buffer does not match the size or the data
/// does not compress.
std::vector<std::uint8_t> encodePng(const RgbaImage& image, std::uint32_t pixelsPerMetre);

} // namespace Brennovar::Resources
