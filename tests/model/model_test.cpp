#include "model/model.h"

#include <climits>
#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

TEST(ModelTest, NewModelMakesCycleMarkersOnTheActiveTrackAndCombines) {
    const Model model;
    EXPECT_EQ(model.getMarkerType(), kCycleMarker);
    EXPECT_EQ(model.getTargetTrackType(), kActiveMarkerTrack);
    EXPECT_TRUE(model.getCombineAdjacent());
    EXPECT_EQ(model.getMappingModel().getMappings().size(), 2u);
}

TEST(ModelTest, SettersStoreOutOfRangeValuesUnchecked) {
    Model model;
    const int32 values[] = {-1, 3, INT_MIN, INT_MAX};
    for (int32 v : values) {
        model.setMarkerType(v);
        model.setTargetTrackType(v);
        EXPECT_EQ(model.getMarkerType(), v);
        EXPECT_EQ(model.getTargetTrackType(), v);
    }
    model.setCombineAdjacent(false);
    EXPECT_FALSE(model.getCombineAdjacent());
}

TEST(ModelTest, AssigningABackupPutsEverySettingBack) {
    Model live;
    live.setMarkerType(kPositionMarker);
    live.setTargetTrackType(kNewMarkerTrackPerSourceTrack);
    live.setCombineAdjacent(false);
    live.getMappingModel().getMappings()[1].data = FTaggedValue::fromString16(u"note");
    const Model backup(live);

    live.setMarkerType(kCycleMarker);
    live.setTargetTrackType(kNewMarkerTrack);
    live.setCombineAdjacent(true);
    live.getMappingModel().removeAllMappings();
    live = backup;

    EXPECT_EQ(live.getMarkerType(), kPositionMarker);
    EXPECT_EQ(live.getTargetTrackType(), kNewMarkerTrackPerSourceTrack);
    EXPECT_FALSE(live.getCombineAdjacent());
    const auto& rows = live.getMappingModel().getMappings();
    ASSERT_EQ(rows.size(), 2u);
    EXPECT_NE(rows[0].target, backup.getMappingModel().getMappings()[0].target);
    EXPECT_TRUE(live.getMappingModel().getTargetAttribute("User:STR_MAComment")->isUsed());
    ASSERT_EQ(rows[1].data.kind(), FTaggedValue::kString16);
    EXPECT_EQ(std::u16string(rows[1].data.string16), u"note");
}

} // namespace
} // namespace Brennovar::Zintara
