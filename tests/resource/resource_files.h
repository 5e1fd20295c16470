#pragma once

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <optional>
#include <span>
#include <string>
#include <vector>
#include <zlib.h>

namespace Brennovar::Testing {

inline std::vector<std::uint8_t> readBinaryFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

/// A PNG of 8-bit RGBA pixels, decoded for checks (not interlaced).
struct DecodedPng {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    int bitDepth = 0;
    int colourType = 0;
    std::uint32_t pixelsPerMetreX = 0;
    std::uint32_t pixelsPerMetreY = 0;
    int physicalUnit = -1;
    std::vector<std::uint8_t> pixels;
};

namespace detail {

inline std::uint32_t bigEndian(std::span<const std::uint8_t> bytes, std::size_t at) {
    return std::uint32_t{bytes[at]} << 24 | std::uint32_t{bytes[at + 1]} << 16 |
           std::uint32_t{bytes[at + 2]} << 8 | bytes[at + 3];
}

inline std::uint8_t paeth(int a, int b, int c) {
    const int p = a + b - c;
    const int pa = std::abs(p - a), pb = std::abs(p - b), pc = std::abs(p - c);
    return static_cast<std::uint8_t>(pa <= pb && pa <= pc ? a : (pb <= pc ? b : c));
}

} // namespace detail

/// Decodes the header, the pHYs chunk and (for 8-bit RGBA) the pixels; empty when malformed.
inline std::optional<DecodedPng> decodePng(std::span<const std::uint8_t> png) {
    static constexpr std::uint8_t kSignature[] = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    if (png.size() < 8 || !std::equal(std::begin(kSignature), std::end(kSignature), png.begin()))
        return std::nullopt;
    DecodedPng image;
    std::vector<std::uint8_t> compressed;
    for (std::size_t pos = 8; pos + 12 <= png.size();) {
        const std::uint32_t length = detail::bigEndian(png, pos);
        if (length > png.size() - pos - 12)
            return std::nullopt;
        const std::string type(png.begin() + pos + 4, png.begin() + pos + 8);
        const auto data = png.subspan(pos + 8, length);
        if (type == "IHDR" && length == 13) {
            image.width = detail::bigEndian(data, 0);
            image.height = detail::bigEndian(data, 4);
            image.bitDepth = data[8];
            image.colourType = data[9];
        } else if (type == "pHYs" && length == 9) {
            image.pixelsPerMetreX = detail::bigEndian(data, 0);
            image.pixelsPerMetreY = detail::bigEndian(data, 4);
            image.physicalUnit = data[8];
        } else if (type == "IDAT") {
            compressed.insert(compressed.end(), data.begin(), data.end());
        }
        pos += 12 + length;
    }
    if (image.bitDepth != 8 || image.colourType != 6)
        return image;
    const std::size_t stride = std::size_t{image.width} * 4;
    std::vector<std::uint8_t> raw((stride + 1) * image.height);
    uLongf rawSize = raw.size();
    if (uncompress(raw.data(), &rawSize, compressed.data(), compressed.size()) != Z_OK ||
        rawSize != raw.size())
        return std::nullopt;
    image.pixels.resize(stride * image.height);
    for (std::size_t y = 0; y < image.height; ++y) {
        const int filter = raw[y * (stride + 1)];
        const std::uint8_t* in = &raw[y * (stride + 1) + 1];
        std::uint8_t* out = &image.pixels[y * stride];
        for (std::size_t i = 0; i < stride; ++i) {
            const int a = i >= 4 ? out[i - 4] : 0;
            const int b = y > 0 ? out[i - stride] : 0;
            const int c = y > 0 && i >= 4 ? out[i - stride - 4] : 0;
            const int predicted = filter == 1   ? a
                                  : filter == 2 ? b
                                  : filter == 3 ? (a + b) / 2
                                  : filter == 4 ? detail::paeth(a, b, c)
                                                : 0;
            out[i] = static_cast<std::uint8_t>(in[i] + predicted);
        }
    }
    return image;
}

} // namespace Brennovar::Testing
