#include "png_writer.h"

#include <cstdlib>
#include <string_view>
#include <utility>
#include <zlib.h>

namespace Brennovar::Resources {

namespace {

constexpr std::size_t kBytesPerPixel = 4;

void appendBigEndian(std::vector<std::uint8_t>& out, std::uint32_t value) {
    for (int shift = 24; shift >= 0; shift -= 8)
        out.push_back(static_cast<std::uint8_t>(value >> shift));
}

void appendChunk(std::vector<std::uint8_t>& out, std::string_view type,
                 const std::vector<std::uint8_t>& data) {
    appendBigEndian(out, static_cast<std::uint32_t>(data.size()));
    const std::size_t typeStart = out.size();
    out.insert(out.end(), type.begin(), type.end());
    out.insert(out.end(), data.begin(), data.end());
    const uLong crc = crc32(0L, out.data() + typeStart, static_cast<uInt>(out.size() - typeStart));
    appendBigEndian(out, static_cast<std::uint32_t>(crc));
}

std::uint8_t paeth(int left, int up, int upLeft) {
    const int estimate = left + up - upLeft;
    const int toLeft = std::abs(estimate - left);
    const int toUp = std::abs(estimate - up);
    const int toUpLeft = std::abs(estimate - upLeft);
    if (toLeft <= toUp && toLeft <= toUpLeft)
        return static_cast<std::uint8_t>(left);
    return static_cast<std::uint8_t>(toUp <= toUpLeft ? up : upLeft);
}

// One row filtered with the given filter type (0 none, 1 sub, 2 up, 3 average, 4 Paeth).
std::vector<std::uint8_t> filterRow(const std::uint8_t* row, const std::uint8_t* previous,
                                    std::size_t length, int filter) {
    std::vector<std::uint8_t> out(length);
    for (std::size_t i = 0; i < length; ++i) {
        const int left = i >= kBytesPerPixel ? row[i - kBytesPerPixel] : 0;
        const int up = previous ? previous[i] : 0;
        const int upLeft = previous && i >= kBytesPerPixel ? previous[i - kBytesPerPixel] : 0;
        int predicted = 0;
        switch (filter) {
        case 1:
            predicted = left;
            break;
        case 2:
            predicted = up;
            break;
        case 3:
            predicted = (left + up) / 2;
            break;
        case 4:
            predicted = paeth(left, up, upLeft);
            break;
        default:
            break;
        }
        out[i] = static_cast<std::uint8_t>(row[i] - predicted);
    }
    return out;
}

std::size_t cost(const std::vector<std::uint8_t>& filtered) {
    std::size_t sum = 0;
    for (const std::uint8_t byte : filtered)
        sum += static_cast<std::size_t>(std::abs(static_cast<int>(static_cast<std::int8_t>(byte))));
    return sum;
}

} // namespace

std::vector<std::uint8_t> encodePng(const RgbaImage& image, std::uint32_t pixelsPerMetre) {
    const std::size_t stride = std::size_t{image.width} * kBytesPerPixel;
    if (image.width == 0 || image.height == 0 || image.pixels.size() != stride * image.height)
        return {};

    std::vector<std::uint8_t> raw;
    for (std::uint32_t y = 0; y < image.height; ++y) {
        const std::uint8_t* row = image.pixels.data() + y * stride;
        const std::uint8_t* previous = y > 0 ? row - stride : nullptr;
        int bestFilter = 0;
        std::vector<std::uint8_t> best = filterRow(row, previous, stride, 0);
        for (int filter = 1; filter <= 4; ++filter) {
            std::vector<std::uint8_t> candidate = filterRow(row, previous, stride, filter);
            if (cost(candidate) < cost(best)) {
                best = std::move(candidate);
                bestFilter = filter;
            }
        }
        raw.push_back(static_cast<std::uint8_t>(bestFilter));
        raw.insert(raw.end(), best.begin(), best.end());
    }
    uLongf compressedSize = compressBound(static_cast<uLong>(raw.size()));
    std::vector<std::uint8_t> compressed(compressedSize);
    if (compress2(compressed.data(), &compressedSize, raw.data(), static_cast<uLong>(raw.size()),
                  Z_BEST_COMPRESSION) != Z_OK)
        return {};
    compressed.resize(compressedSize);

    std::vector<std::uint8_t> header;
    appendBigEndian(header, image.width);
    appendBigEndian(header, image.height);
    // Bit depth 8, colour type 6 (RGBA), deflate, adaptive filtering, no interlace.
    header.insert(header.end(), {8, 6, 0, 0, 0});
    std::vector<std::uint8_t> physical;
    appendBigEndian(physical, pixelsPerMetre);
    appendBigEndian(physical, pixelsPerMetre);
    physical.push_back(1); // the unit is the metre

    std::vector<std::uint8_t> png = {0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n'};
    appendChunk(png, "IHDR", header);
    appendChunk(png, "pHYs", physical);
    appendChunk(png, "IDAT", compressed);
    appendChunk(png, "IEND", {});
    return png;
}

} // namespace Brennovar::Resources
