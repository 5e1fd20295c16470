#include "icon_painter.h"
#include "png_writer.h"
#include "resource_files.h"

#include <gtest/gtest.h>

namespace Brennovar::Resources {
namespace {

// A redrawn atlas that was not committed shows up here: the committed file is exactly what the
// drawing tool writes (120 by 20 icons' worth of pixels per scale, 72 dots per inch).
TEST(IconAtlasTest, CommittedFilesAreTheDrawnAtlases) {
    for (const auto& [name, scale] :
         {std::pair{"icons-zintara.png", 1}, std::pair{"icons-zintara_2.00x.png", 2}}) {
        const RgbaImage image = IconPainter(scale).paint();
        EXPECT_EQ(image.width, 120u * static_cast<std::uint32_t>(scale)) << name;
        EXPECT_EQ(image.height, 20u * static_cast<std::uint32_t>(scale)) << name;
        EXPECT_TRUE(Testing::readResourceFile(name) == encodePng(image, 2835)) << name;
    }
}

} // namespace
} // namespace Brennovar::Resources
