#include "model/model.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

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
    ASSERT_EQ(rows[1].data.kind(), FTaggedValue::kString16);
    EXPECT_EQ(std::u16string(rows[1].data.string16), u"note");
}

} // namespace
} // namespace Brennovar::Zintara
