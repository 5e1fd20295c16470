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

INSTANTIATE_TEST_SUITE_P(BothScales, IconAtlasTest,
                         ::testing::Values(AtlasFile{"icons-zintara.png", 1},
                                           AtlasFile{"icons-zintara_2.00x.png", 2}));

} // namespace
} // namespace Brennovar::Resources
