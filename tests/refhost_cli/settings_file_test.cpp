#include "model/attribute_catalogue.h"
#include "module/module_names.h"
#include "refhost/core/host_error.h"
#include "refhost/files/settings_file.h"
#include "refhost/host/host.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <gtest/gtest.h>
#include <string>

namespace Brennovar::RefHost {
namespace {

const FTaggedValue* stored(Project& project, const std::string& key) {
    return project.root().attributes().find(Zintara::Names::kSettingsKeyPrefix + key);
}

TEST(SettingsFileTest, WritesTheAttributesTheModuleStores) {
    Host host;
    Project& project = host.createProject("Song");
    const FTaggedValue stale = FTaggedValue::fromString8("Counter");
    project.root().assignAttribute("CreateZintaraModelDataMappingSource3", &stale);
    SettingsFile::applyText(R"({"markerType": "position", "targetTrackType": 2,
        "combineAdjacent": false, "mappings": [
        {"source": "EventName", "target": "MarkerDescription"},
        {"source": "FreeText", "target": "User:STR_MAComment", "text": "Take \u00e4"}]})",
                            "settings.json", project);
    EXPECT_EQ(stored(project, "MarkerType")->integer, 0);
    EXPECT_EQ(stored(project, "TargetTrackType")->integer, 2);
    EXPECT_EQ(stored(project, "CombineAdjancent")->integer, 0);
    EXPECT_EQ(stored(project, "MappingSize")->integer, 2);
    EXPECT_STREQ(stored(project, "MappingSource1")->string8, "EventName");
    EXPECT_STREQ(stored(project, "MappingTarget2")->string8, "User:STR_MAComment");
    EXPECT_EQ(stored(project, "MappingData1"), nullptr);
    EXPECT_EQ(std::u16string(stored(project, "MappingData2")->string16), u"Take \u00e4");
    EXPECT_EQ(stored(project, "MappingSource3"), nullptr) << "earlier settings are replaced";

    // Omitted members stand for the module's defaults; without rows the module keeps its own.
    SettingsFile::applyText("{}", "defaults.json", project);
    EXPECT_EQ(stored(project, "MarkerType")->integer, 1);
    EXPECT_EQ(stored(project, "TargetTrackType")->integer, 0);
    EXPECT_EQ(stored(project, "CombineAdjancent")->integer, 1);
    EXPECT_EQ(stored(project, "MappingSize"), nullptr);
    EXPECT_EQ(stored(project, "MappingSource1"), nullptr);

    // The module restores a stored size of 0 as an emptied list, so a file without `mappings`
    // must store no size at all for the module to keep its rows.
    SettingsFile::applyText(R"({"mappings": []})", "empty.json", project);
    EXPECT_EQ(stored(project, "MappingSize")->integer, 0);
}

// A key the module does not offer is most likely a typo: reported, and passed on as a stored
// project would pass it.
TEST(SettingsFileTest, UnknownKeysAreReportedAndPassedOn) {
    Host host;
    Project& project = host.createProject("Song");
    const auto warnings = SettingsFile::applyText(R"({"mappings": [
        {"source": "EventNmae", "target": "MarkerDescription"},
        {"source": "AudioScene", "target": "User:STR_MATargetTrack"}]})",
                                                  "s.json", project);
    ASSERT_EQ(warnings.size(), 2u);
    EXPECT_EQ(warnings[0], "s.json: at /mappings/0/source: the module offers no source "
                           "\"EventNmae\"; it will drop the row");
    EXPECT_NE(warnings[1].find("/mappings/1/target"), std::string::npos) << warnings[1];
    EXPECT_STREQ(stored(project, "MappingSource1")->string8, "EventNmae");
}

TEST(SettingsFileTest, OffersExactlyTheCatalogueKeys) {
    auto key = [](const Zintara::CatalogueEntry& entry) { return std::string_view(entry.key); };
    EXPECT_TRUE(
        std::ranges::equal(SettingsFile::sourceKeys(), Zintara::sourceCatalogue(), {}, {}, key));
    EXPECT_TRUE(
        std::ranges::equal(SettingsFile::targetKeys(), Zintara::targetCatalogue(), {}, {}, key));
}

TEST(SettingsFileTest, MalformedFilesNameThePlaceAndApplyNothing) {
    const struct {
        const char* text;
        const char* place;
    } cases[] = {
        {"[]", "/"},
        {R"({"markers": 1})", "/markers"},
        {R"({"markerType": "diamond"})", "/markerType"},
        {R"({"combineAdjacent": 1})", "/combineAdjacent"},
        {R"({"mappings": {}})", "/mappings"},
        {R"({"markerType": 1e99999})", "1:16"},
        {R"({"mappings": [{"source": "Counter"}]})", "/mappings/0"},
        {R"({"mappings": [{"source": "FreeText", "target": "X", "text": 5}]})", "/mappings/0/text"},
        {"{", "1:1"},
        {R"({"markerType": 2})", "/markerType"},
        {R"({"targetTrackType": 7})", "/targetTrackType"},
        {R"({"combineAdjacent": true, "combineAdjacent": false})", "/"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        Host host;
        Project& project = host.createProject("Song");
        try {
            SettingsFile::applyText(c.text, "s.json", project);
            ADD_FAILURE() << "accepted";
        } catch (const FileError& e) {
            EXPECT_EQ(e.place(), c.place) << e.what();
        }
        EXPECT_TRUE(project.root().attributes().entries().empty()) << "nothing half-applied";
    }
}

} // namespace
} // namespace Brennovar::RefHost
