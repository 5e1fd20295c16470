// Settings travel with the project: stored when the host saves it, restored when it opens it.

#include "module_in_host.h"
#include "refhost/files/project_file.h"

#include <cstdio>
#include <filesystem>
#include <gtest/gtest.h>
#include <string>
#include <unistd.h>
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

TEST_F(SettingsTravelTest, TheCounterRunsOnAcrossRuns) {
    ASSERT_TRUE(start());
    Project& project = songWithEvents();
    storeSettings(project, 1, 0, 1, kNumberedRows);
    host.openProject(project);
    std::vector<ObjectState> first = markersAfterRun();
    ASSERT_EQ(first.size(), 2u);
    ProjectObject* boom = project.find("Boom 1");
    ASSERT_NE(boom, nullptr);
    project.select(*boom);
    std::vector<ObjectState> both = markersAfterRun();
    ASSERT_EQ(both.size(), 3u);
    EXPECT_EQ(std::stoi(both[2].name), std::stoi(first[1].name) + 1);
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

TEST_F(SettingsTravelTest, SettingsSavedInAProjectFileReachAFreshModule) {
    const std::string file = (std::filesystem::temp_directory_path() /
                              ("zintara-settings-travel-" + std::to_string(getpid()) + ".json"))
                                 .string();
    {
        ASSERT_TRUE(start());
        Project& stored = host.createProject("Stored");
        storeSettings(stored, 0, 2, 0, kNumberedRows);
        host.openProject(stored);
        Project& song = songWithEvents();
        host.openProject(song); // inherits the settings
        ASSERT_TRUE(host.storeProject());
        ProjectFile::save(song, file);
        host.closeProject();
        loader.unload();
    }
    Host freshHost;
    ModuleLoader freshLoader;
    ASSERT_TRUE(freshLoader.load(loader.path())) << freshLoader.error();
    ASSERT_TRUE(freshLoader.startService(freshHost.context()));
    Project& reloaded = ProjectFile::read(freshHost, file);
    std::remove(file.c_str());
    freshHost.openProject(reloaded);
    ASSERT_EQ(freshHost.runCommand(kCurrentSettingsCommand).result, ResultOk);
    ProjectState state = freshHost.state();
    ASSERT_EQ(state.markerTracks().size(), 2u) << "one per source track" << state.text();
    for (const ObjectState* track : state.markerTracks()) {
        for (const ObjectState& marker : track->children) {
            EXPECT_EQ(marker.kind, "position-marker");
            EXPECT_EQ(marker.attributes.at("User:STR_MAComment").text, "Szene \xc3\xa4");
        }
    }
    EXPECT_EQ(state.markerTracks()[0]->name, "Dialog Markers");
    EXPECT_EQ(state.markerTracks()[1]->name, "Boom Markers");
    freshHost.closeProject();
    freshLoader.unload();
    freshHost.releaseClientObjects();
    EXPECT_TRUE(freshHost.references().clean()) << freshHost.references().text();
}
