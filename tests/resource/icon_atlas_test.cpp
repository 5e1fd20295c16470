#include "icon_painter.h"
#include "resource_files.h"

#include <gtest/gtest.h>

namespace Brennovar::Resources {
namespace {

struct AtlasFile {
    const char* name;
    int scale;
};

class IconAtlasTest : public ::testing::TestWithParam<AtlasFile> {};

TEST_P(IconAtlasTest, CommittedFileIsTheDrawnAtlas) {
    const auto bytes =
        Testing::readBinaryFile(std::string(ZINTARA_RESOURCE_DIR) + "/" + GetParam().name);
    const auto png = Testing::decodePng(bytes);
    ASSERT_TRUE(png);
    const auto scale = static_cast<std::uint32_t>(GetParam().scale);
    EXPECT_EQ(png->width, 120 * scale);
    EXPECT_EQ(png->height, 20 * scale);
    EXPECT_EQ(png->bitDepth, 8);
    EXPECT_EQ(png->colourType, 6);
    EXPECT_EQ(png->pixelsPerMetreX, 2835u);
    EXPECT_EQ(png->pixelsPerMetreY, 2835u);
    EXPECT_EQ(png->physicalUnit, 1);
    // A redrawn atlas that was not committed shows up here.
    EXPECT_TRUE(png->pixels == IconPainter(GetParam().scale).paint().pixels);
}

TEST_P(IconAtlasTest, EachCellHoldsOneIconInsideItsBorder) {
    const RgbaImage image = IconPainter(GetParam().scale).paint();
    const std::uint32_t cell = image.height;
    const auto alpha = [&](std::uint32_t x, std::uint32_t y) {
        return image.pixels[(std::size_t{y} * image.width + x) * 4 + 3];
    };
    for (std::uint32_t icon = 0; icon < 6; ++icon) {
        int inked = 0;
        for (std::uint32_t y = 0; y < cell; ++y) {
            for (std::uint32_t x = icon * cell; x < (icon + 1) * cell; ++x) {
                const bool border =
                    y == 0 || y == cell - 1 || x == icon * cell || x == (icon + 1) * cell - 1;
                if (border) {
                    EXPECT_EQ(alpha(x, y), 0) << "icon " << icon << " at " << x << "," << y;
                }
                inked += alpha(x, y) == 255;
            }
        }
        EXPECT_GT(inked, static_cast<int>(cell)) << "icon " << icon;
    }
}

INSTANTIATE_TEST_SUITE_P(BothScales, IconAtlasTest,
                         ::testing::Values(AtlasFile{"icons-zintara.png", 1},
                                           AtlasFile{"icons-zintara_2.00x.png", 2}));

} // namespace
} // namespace Brennovar::Resources
