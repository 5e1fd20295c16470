// Settings travel with the project: stored when the host saves it, restored when it opens it.

#include "module_in_host.h"

#include <gtest/gtest.h>
#include <string>
#include <utility>
#include <vector>

using namespace Brennovar;
using namespace Brennovar::RefHost;
using Testing::kCurrentSettingsCommand;

namespace {

struct Row {
    std::string source;
    std::string target;
    std::u16string text;
};

// Writes settings into a project exactly as the module stores them.
void storeSettings(Project& project, int64 markerType, int64 targetType, int64 combine,
                   const std::vector<Row>& rows) {
    ProjectObject& root = project.root();
    auto put = [&root](const std::string& key, const FTaggedValue& value) {
        root.assignAttribute(key, &value);
    };
    put("CreateZintaraModelDataMarkerType", FTaggedValue::fromInteger(markerType));
    put("CreateZintaraModelDataTargetTrackType", FTaggedValue::fromInteger(targetType));
    put("CreateZintaraModelDataCombineAdjancent", FTaggedValue::fromInteger(combine));
    int n = 0;
    for (const Row& row : rows) {
        std::string number = std::to_string(++n);
        put("CreateZintaraModelDataMappingSource" + number,
            FTaggedValue::fromString8(row.source.c_str()));
        put("CreateZintaraModelDataMappingTarget" + number,
            FTaggedValue::fromString8(row.target.c_str()));
        if (!row.text.empty())
            put("CreateZintaraModelDataMappingData" + number,
                FTaggedValue::fromString16(row.text.c_str()));
    }
    put("CreateZintaraModelDataMappingSize", FTaggedValue::fromInteger(n));
}

const std::vector<Row> kNumberedRows = {{"Counter", "MarkerDescription", u""},
                                        {"FreeText", "User:STR_MAComment", u"Szene \u00e4"}};

class SettingsTravelTest : public Testing::ModuleInHost {
protected:
    std::vector<ObjectState> markersAfterRun() {
        EXPECT_EQ(host.runCommand(kCurrentSettingsCommand).result, ResultOk);
        ProjectState state = host.state();
        std::vector<ObjectState> markers;
        for (const ObjectState* track : state.markerTracks())
            markers.insert(markers.end(), track->children.begin(), track->children.end());
        return markers;
    }
};

} // namespace

TEST_F(SettingsTravelTest, RestoredSettingsDecideTheRun) {
    ASSERT_TRUE(start());
    Project& project = songWithEvents();
    storeSettings(project, 0, 1, 0, kNumberedRows);
    host.openProject(project);
    std::vector<ObjectState> markers = markersAfterRun();
    ASSERT_EQ(markers.size(), 3u) << host.state().text();
    for (const ObjectState& marker : markers) {
        EXPECT_EQ(marker.kind, "position-marker");
        EXPECT_EQ(marker.attributes.at("User:STR_MAComment").text, "Szene \xc3\xa4");
    }
    EXPECT_EQ(host.state().markerTracks().size(), 1u) << "one new marker track";
    int first = std::stoi(markers[0].name);
    EXPECT_EQ(markers[1].name, std::to_string(first + 1));
    EXPECT_EQ(markers[2].name, std::to_string(first + 2));
}

TEST_F(SettingsTravelTest, AProjectWithoutSettingsInheritsThePreviousOnes) {
    ASSERT_TRUE(start());
    Project& stored = host.createProject("Stored");
    storeSettings(stored, 0, 0, 0, {{"EventName", "MarkerDescription", u""}});
    host.openProject(stored);
    host.openProject(songWithEvents());
    std::vector<ObjectState> markers = markersAfterRun();
    ASSERT_EQ(markers.size(), 3u) << "combining is off";
    EXPECT_EQ(markers[0].kind, "position-marker");
    EXPECT_TRUE(markers[0].attributes.empty()) << "only the stored row is applied";
}
