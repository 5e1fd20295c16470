// draw_icons DIR
// Draws the icon atlas at scales 1 and 2 into DIR/icons-zintara.png and
// DIR/icons-zintara_2.00x.png.
#include "icon_painter.h"
#include "png_writer.h"

#include <filesystem>
#include <fstream>
#include <iostream>

namespace {

// 72 pixels per inch.
constexpr std::uint32_t kPixelsPerMetre = 2835;

bool drawAtlas(const std::filesystem::path& path, int scale) {
    const std::vector<std::uint8_t> png = Brennovar::Resources::encodePng(
        Brennovar::Resources::IconPainter(scale).paint(), kPixelsPerMetre);
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(png.data()), static_cast<std::streamsize>(png.size()));
    if (png.empty() || !out.flush()) {
        std::cerr << "draw_icons: cannot write " << path << '\n';
        return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::cerr << "usage: draw_icons DIR\n";
        return 2;
    }
    const std::filesystem::path folder(argv[1]);
    const bool drawn = drawAtlas(folder / "icons-zintara.png", 1) &&
                       drawAtlas(folder / "icons-zintara_2.00x.png", 2);
    return drawn ? 0 : 1;
}
