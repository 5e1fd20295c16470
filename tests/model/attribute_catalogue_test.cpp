#include "model/attribute_catalogue.h"
#include "model/model.h"

#include <gtest/gtest.h>
#include <set>
#include <stdexcept>
#include <string>

namespace Brennovar::Zintara {
namespace {

TEST(AttributeCatalogueTest, EntriesKeepTableOrderGroupsAndHostSpellings) {
    struct Expected {
        bool target;
        std::size_t position;
        const char* name;
        const char* key;
        const char* group;
    };
    // Ends of each group and the entries whose keys differ in form from their neighbours; the
    // targets keep the host's misspellings.
    const Expected table[] = {
        {false, 0, "Free Text", "FreeText", kAttributeGroupNone},
        {false, 2, "Project Name", "ProjectName", kAttributeGroupNone},
        {false, 5, "Event Description", "EventDescription", kAttributeGroupNone},
        {false, 6, "File Name", "FileName", kAttributeGroupMedia},
        {false, 11, "Family Name", "MediaFamily", kAttributeGroupMedia},
        {false, 13, "Path", "FilePath", kAttributeGroupMedia},
        {false, 18, "Project Name", "MediaProjectName", kAttributeGroupMedia},
        {false, 27, "Copyright", "SmfCopyRight", kAttributeGroupMedia},
        {false, 39, "Codec", "VideoCodecName", kAttributeGroupMedia},
        {false, 40, "BWF Description", "AudioBWFDescription", kAttributeGroupAudioAssets},
        {false, 47, "BWF Max. Short-term Loudness", "AudioBWFMaxShortTermLoudness",
         kAttributeGroupAudioAssets},
        {false, 54, "Wild Track", "AudioWildtrack", kAttributeGroupAudioAssets},
        {false, 59, "iXML User", "AudioIXMLUser", kAttributeGroupAudioAssets},
        {true, 0, "Description", "MarkerDescription", kAttributeGroupNone},
        {true, 6, "Target Track", "User:STR_MATragetTrack", kAttributeGroupNone},
        {true, 9, "Actor's Name", "User:STR_MAActorsName", kAttributeGroupNone},
        {true, 17, "Surface Type", "User:STR_MASurfacetype", kAttributeGroupNone},
        {true, 22, "BG Category", "User:User:STR_MABGCategory", kAttributeGroupNone},
    };
    const Model model;
    const auto& sources = model.getMappingModel().getSourceAttributes();
    const auto& targets = model.getMappingModel().getTargetAttributes();
    ASSERT_EQ(sources.size(), 60u);
    ASSERT_EQ(targets.size(), 23u);
    for (const Expected& e : table) {
        SCOPED_TRACE(e.key);
        const auto& entry = (e.target ? targets : sources)[e.position];
        EXPECT_STREQ(entry->getKey(), e.key);
        EXPECT_EQ(entry->getName(), e.name);
        EXPECT_EQ(entry->getGroup(), e.group); // the shared constant itself
    }
    // Keys are unique, no source starts used (the default rows use targets) and targets have no
    // groups.
    for (const auto* entries : {&sources, &targets}) {
        std::set<std::string> keys;
        const bool source = entries == &sources;
        for (const auto& entry : *entries) {
            EXPECT_TRUE(keys.insert(entry->getKey()).second) << entry->getKey();
            EXPECT_FALSE(source && entry->isUsed()) << entry->getKey();
            EXPECT_TRUE(source || entry->getGroup() == kAttributeGroupNone) << entry->getKey();
        }
    }
}

TEST(AttributeCatalogueTest, LookupIsExactAndCaseSensitive) {
    const Model model;
    const IMappingModel& mapping = model.getMappingModel();
    EXPECT_EQ(mapping.getTargetAttribute("User:User:STR_MABGCategory")->getName(), "BG Category");
    EXPECT_EQ(mapping.getSourceAttribute("AudioWildtrack")->getName(), "Wild Track");
    try {
        mapping.getSourceAttribute(nullptr);
        ADD_FAILURE() << "no exception";
    } catch (const std::out_of_range& e) {
        EXPECT_STREQ(e.what(), "entry not found");
    }
    for (const char* key : {"FreeText", "User:STR_MATargetTrack", "User:STR_MASurfaceType",
                            "User:STR_MABGCategory", "markerdescription", ""})
        EXPECT_THROW(mapping.getTargetAttribute(key), std::out_of_range) << key;
    for (const char* key : {"eventname", "SmfCopyright", "AudioWildTrack", "EventName "})
        EXPECT_THROW(mapping.getSourceAttribute(key), std::out_of_range) << key;
}

} // namespace
} // namespace Brennovar::Zintara
