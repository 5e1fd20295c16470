#include "model/attribute_catalogue.h"
#include "model/model.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>

namespace Brennovar::Zintara {
namespace {

TEST(AttributeCatalogueTest, SourceEntriesKeepTableOrderAndGroups) {
    struct Expected {
        std::size_t position;
        const char* name;
        const char* key;
        const char* group;
    };
    // Ends of each group and the entries whose keys differ in form from their neighbours.
    const Expected table[] = {
        {0, "Free Text", "FreeText", kAttributeGroupNone},
        {2, "Project Name", "ProjectName", kAttributeGroupNone},
        {5, "Event Description", "EventDescription", kAttributeGroupNone},
        {6, "File Name", "FileName", kAttributeGroupMedia},
        {11, "Family Name", "MediaFamily", kAttributeGroupMedia},
        {13, "Path", "FilePath", kAttributeGroupMedia},
        {18, "Project Name", "MediaProjectName", kAttributeGroupMedia},
        {27, "Copyright", "SmfCopyRight", kAttributeGroupMedia},
        {39, "Codec", "VideoCodecName", kAttributeGroupMedia},
        {40, "BWF Description", "AudioBWFDescription", kAttributeGroupAudioAssets},
        {47, "BWF Max. Short-term Loudness", "AudioBWFMaxShortTermLoudness",
         kAttributeGroupAudioAssets},
        {54, "Wild Track", "AudioWildtrack", kAttributeGroupAudioAssets},
        {59, "iXML User", "AudioIXMLUser", kAttributeGroupAudioAssets},
    };
    const Model model;
    const auto& sources = model.getMappingModel().getSourceAttributes();
    ASSERT_EQ(sources.size(), 60u);
    for (const Expected& e : table) {
        SCOPED_TRACE(e.key);
        EXPECT_STREQ(sources[e.position]->getKey(), e.key);
        EXPECT_EQ(sources[e.position]->getName(), e.name);
        EXPECT_EQ(sources[e.position]->getGroup(), e.group); // the shared constant itself
    }
    for (const auto& entry : sources)
        EXPECT_FALSE(entry->isUsed()) << entry->getKey();
}

TEST(AttributeCatalogueTest, TargetEntriesKeepTableOrderAndHostSpellings) {
    const Model model;
    const auto& targets = model.getMappingModel().getTargetAttributes();
    ASSERT_EQ(targets.size(), 23u);
    EXPECT_STREQ(targets[0]->getKey(), "MarkerDescription");
    EXPECT_EQ(targets[0]->getName(), "Description");
    EXPECT_STREQ(targets[6]->getKey(), "User:STR_MATragetTrack");
    EXPECT_EQ(targets[6]->getName(), "Target Track");
    EXPECT_STREQ(targets[9]->getKey(), "User:STR_MAActorsName");
    EXPECT_EQ(targets[9]->getName(), "Actor's Name");
    EXPECT_STREQ(targets[17]->getKey(), "User:STR_MASurfacetype");
    EXPECT_STREQ(targets[22]->getKey(), "User:User:STR_MABGCategory");
    EXPECT_EQ(targets[22]->getName(), "BG Category");
    for (const auto& entry : targets)
        EXPECT_EQ(entry->getGroup(), kAttributeGroupNone) << entry->getKey();
}

TEST(AttributeCatalogueTest, KeysAreUnique) {
    for (auto catalogue : {sourceCatalogue(), targetCatalogue()}) {
        std::set<std::string> keys;
        for (const CatalogueEntry& entry : catalogue)
            EXPECT_TRUE(keys.insert(entry.key).second) << entry.key;
    }
}

TEST(AttributeCatalogueTest, LookupIsExactAndCaseSensitive) {
    const Model model;
    const IMappingModel& mapping = model.getMappingModel();
    EXPECT_EQ(mapping.getTargetAttribute("User:STR_MATragetTrack")->getName(), "Target Track");
    EXPECT_EQ(mapping.getTargetAttribute("User:User:STR_MABGCategory")->getName(), "BG Category");
    EXPECT_EQ(mapping.getSourceAttribute("AudioWildtrack")->getName(), "Wild Track");
    try {
        mapping.getSourceAttribute(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "entry not found");
    }
    const char* absentTargets[] = {"FreeText",
                                   "User:STR_MATargetTrack",
                                   "User:STR_MASurfaceType",
                                   "User:STR_MABGCategory",
                                   "markerdescription",
                                   ""};
    for (const char* key : absentTargets)
        EXPECT_THROW(mapping.getTargetAttribute(key), std::out_of_range) << key;
    const char* absentSources[] = {"eventname", "SmfCopyright", "AudioWildTrack", "EventName "};
    for (const char* key : absentSources)
        EXPECT_THROW(mapping.getSourceAttribute(key), std::out_of_range) << key;
}

} // namespace
} // namespace Brennovar::Zintara
