#pragma once

// What the browser tests share: finding chromium, a screenshot of a page in it, and the
// screenshot decoded.

#include "refhost_cli/tool_run.h"

#include <cstdint>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <string_view>
#include <vector>
#include <zlib.h>

namespace RefHostCliTest {

// An 8-bit RGB or RGBA PNG, decoded.
struct Image {
    std::uint32_t width = 0, height = 0;
    std::size_t channels = 0;
    std::vector<std::uint8_t> pixels;

    std::uint32_t rgb(std::size_t x, std::size_t y) const {
        const std::uint8_t* p = &pixels[(y * width + x) * channels];
        return (p[0] << 16) | (p[1] << 8) | p[2];
    }
};

inline std::uint32_t bigEndian(const std::string& bytes, std::size_t at) {
    return (static_cast<std::uint8_t>(bytes[at]) << 24) |
           (static_cast<std::uint8_t>(bytes[at + 1]) << 16) |
           (static_cast<std::uint8_t>(bytes[at + 2]) << 8) |
           static_cast<std::uint8_t>(bytes[at + 3]);
}

inline Image decodePng(const std::string& png) {
    Image image;
    std::string compressed;
    for (std::size_t at = 8; at + 12 <= png.size();) {
        std::uint32_t length = bigEndian(png, at);
        std::string type = png.substr(at + 4, 4);
        if (type == "IHDR") {
            image.width = bigEndian(png, at + 8);
            image.height = bigEndian(png, at + 12);
            image.channels = png[at + 17] == 6 ? 4 : 3;
            if (png[at + 16] != 8 || (png[at + 17] != 6 && png[at + 17] != 2) || png[at + 20])
                return {};
        } else if (type == "IDAT") {
            compressed += png.substr(at + 8, length);
        }
        at += 12 + length;
    }
    const std::size_t stride = image.width * image.channels;
    std::vector<std::uint8_t> raw((stride + 1) * image.height);
    uLongf size = raw.size();
    if (image.width == 0 ||
        uncompress(raw.data(), &size, reinterpret_cast<const Bytef*>(compressed.data()),
                   compressed.size()) != Z_OK ||
        size != raw.size())
        return {};
    image.pixels.resize(stride * image.height);
    for (std::size_t y = 0; y < image.height; ++y) {
        const std::uint8_t filter = raw[y * (stride + 1)];
        for (std::size_t i = 0; i < stride; ++i) {
            int a = i >= image.channels ? image.pixels[y * stride + i - image.channels] : 0;
            int b = y > 0 ? image.pixels[(y - 1) * stride + i] : 0;
            int c = y > 0 && i >= image.channels
                        ? image.pixels[(y - 1) * stride + i - image.channels]
                        : 0;
            const int pa = std::abs(b - c), pb = std::abs(a - c), pc = std::abs(a + b - 2 * c);
            const int paeth = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
            const int predictors[] = {0, a, b, (a + b) / 2, paeth};
            image.pixels[y * stride + i] = static_cast<std::uint8_t>(
                raw[y * (stride + 1) + 1 + i] + (filter < 5 ? predictors[filter] : 0));
        }
    }
    return image;
}

/// "#rrggbb" as 0xrrggbb, as Image::rgb gives a pixel.
inline std::uint32_t rgb(std::string_view css) {
    return std::stoul(std::string(css.substr(1)), nullptr, 16);
}

/// The chromium the tests run; empty when none is installed.
inline std::string chromium() {
    const ToolRun found = runCommand("command -v chromium || command -v chromium-browser");
    return found.out.substr(0, found.out.find('\n'));
}

/// Opens the page in headless chromium with a fresh profile beside it and a window of the size,
/// and decodes the screenshot (an empty image when there is none); `run` tells how it went.
inline Image screenshot(const std::string& browser, const std::filesystem::path& page, int width,
                        int height, ToolRun& run) {
    const std::filesystem::path shot = page.string() + ".png";
    run = runCommand("timeout 120 '" + browser +
                     "' --headless --no-sandbox --disable-gpu --disable-quic --no-first-run "
                     "--disable-background-networking --disable-component-update --disable-sync "
                     "--hide-scrollbars --user-data-dir='" +
                     page.string() + ".profile' --screenshot='" + shot.string() +
                     "' --window-size=" + std::to_string(width) + "," + std::to_string(height) +
                     " 'file://" + page.string() + "'");
    return decodePng(readText(shot));
}

} // namespace RefHostCliTest
