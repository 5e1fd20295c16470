#include "engine_host.h"
#include "host/media.h"
#include "refhost/core/text_conversion.h"

#include <gmock/gmock.h>
#include <limits>

namespace Brennovar::Zintara::Testing {
namespace {

using ::testing::ElementsAre;
using ::testing::Pair;
using ::testing::UnorderedElementsAre;

constexpr const char* kComment = "User:STR_MAComment";
constexpr const char* kReel = "User:STR_MAReel";
constexpr const char* kTake = "User:STR_MATakeNo";

class MarkerAttributeTest : public EngineHostTest {
protected:
    MarkerAttributeTest() : markers(markerTrack()), audio(track("Dialog")) {
        project.root().assignName(u"Feature");
    }

    /// The attributes of the marker created for the named event, as key=text.
    std::map<std::string, std::string> attributesOf(std::string_view eventName) const {
        std::map<std::string, std::string> texts;
        for (RefHost::ProjectObject* marker : markers.children())
            if (marker->start() == project.find(eventName)->start())
                for (const auto& [key, value] : marker->attributes().entries()) {
                    EXPECT_EQ(value.kind(), FTaggedValue::kString16) << key;
                    texts[key] = RefHost::utf8(value.string16);
                }
        return texts;
    }
    std::vector<std::string> markerNames() const {
        std::vector<std::string> names;
        for (RefHost::ProjectObject* marker : markers.children())
            names.push_back(marker->nameUtf8());
        return names;
    }

    RefHost::ProjectObject& markers;
    RefHost::ProjectObject& audio;
};

TEST_F(MarkerAttributeTest, EachSourceKindFillsItsOwnTarget) {
    map("ProjectName", "MarkerDescription");
    map("TrackName", kComment);
    map("EventName", kReel);
    map("EventDescription", kTake);
    event(audio, "Line 12", 0, 1, nullptr, "wide shot");
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markerNames(), ElementsAre("Feature"));
    EXPECT_THAT(attributesOf("Line 12"),
                UnorderedElementsAre(Pair(kComment, "Dialog"), Pair(kReel, "Line 12"),
                                     Pair(kTake, "wide shot")));
}

// The counter runs on across runs, and wraps instead of overflowing.
TEST_F(MarkerAttributeTest, CounterRunsOnAcrossRunsAndWraps) {
    markerCounter() = std::numeric_limits<int32>::max() - 2;
    settings.setCombineAdjacent(false);
    map("Counter", "MarkerDescription");
    event(audio, "a", 0, 1);
    event(audio, "b", 2, 1);
    event(audio, "c", 4, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    event(audio, "d", 6, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markerNames(),
                ElementsAre("2147483646", "2147483647", "-2147483648", "-2147483647"));
}

TEST_F(MarkerAttributeTest, EmptyValuesAndIncompleteRowsAreSkipped) {
    map("EventName", "MarkerDescription");
    map("EventDescription", kComment); // a part has no description
    mapFreeText(kReel, FTaggedValue::fromString8(""));
    IMappingModel& mapping = settings.getMappingModel();
    mapping.setMappingSource(mapping.addMapping(), "TrackName");
    mapping.setMappingTarget(mapping.addMapping(), kTake);
    auto& part = object(audio, ObjectKind::kAudioPart, "", 0, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markerNames(), ElementsAre(""));
    EXPECT_TRUE(attributesOf("").empty());
    EXPECT_FALSE(part.selected());
}

struct FreeTextCase {
    const char* name;
    FTaggedValue data;
    std::u16string expected; // empty: the target stays unset

    friend void PrintTo(const FreeTextCase& test, std::ostream* out) { *out << test.name; }
};

class FreeTextTest : public MarkerAttributeTest,
                     public ::testing::WithParamInterface<FreeTextCase> {};

TEST_P(FreeTextTest, DecodesTheRowsText) {
    mapFreeText("MarkerDescription", GetParam().data);
    event(audio, "a", 0, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markerNames(), ElementsAre(RefHost::utf8(GetParam().expected)));
}

INSTANTIATE_TEST_SUITE_P(
    Texts, FreeTextTest,
    ::testing::Values(
        FreeTextCase{"Utf8", FTaggedValue::fromString8("Caf\xC3\xA9 \xF0\x9F\x8E\xAC"),
                     u"Caf\u00E9 \U0001F3AC"},
        FreeTextCase{"InvalidUtf8", FTaggedValue::fromString8("Caf\xE9"), u""},
        FreeTextCase{"TruncatedUtf8", FTaggedValue::fromString8("ab\xC3"), u""},
        FreeTextCase{"Overlong", FTaggedValue::fromString8("\xC0\xAF"), u""},
        FreeTextCase{"Wide", FTaggedValue::fromString16(u"Sc\u00E8ne 4"), u"Sc\u00E8ne 4"},
        FreeTextCase{"Integer", FTaggedValue::fromInteger(42), u""},
        FreeTextCase{"Empty", FTaggedValue(), u""},
        FreeTextCase{"NullString", FTaggedValue::fromString8(nullptr), u""}),
    [](const auto& info) { return std::string(info.param.name); });

// Media values come from the clip of an audio event; without the media service or the clip's
// source face only they are missing.
TEST_F(MarkerAttributeTest, MediaAttributesComeFromTheClipOfAudioEventsOnly) {
    settings.setCombineAdjacent(false);
    map("AudioScene", kComment);
    map("FileName", kReel);
    map("AudioTake", kTake); // the clip lacks it: refused by the host, row skipped
    map("EventName", "MarkerDescription");
    RefHost::Clip& clip = project.addClip("take1.wav");
    clip.setMediaAttribute("AudioScene", "12A");
    event(audio, "with clip", 0, 1, &clip);
    event(audio, "no clip", 2, 1);
    object(audio, ObjectKind::kAudioPart, "part", 4, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(attributesOf("with clip"),
                UnorderedElementsAre(Pair(kComment, "12A"), Pair(kReel, "take1.wav")));

    host.faults().missService(IMediaAttributeService::iid);
    event(audio, "no service", 6, 1, &clip);
    EXPECT_EQ(runEngine(), ResultOk);
    host.faults() = {};
    host.faults().refuseInterface(IMediaSource::iid);
    event(audio, "no source", 8, 1, &clip);
    EXPECT_EQ(runEngine(), ResultOk);
    for (const char* without : {"no clip", "part", "no service", "no source"})
        EXPECT_TRUE(attributesOf(without).empty()) << without;
    EXPECT_THAT(markerNames(),
                ElementsAre("with clip", "no clip", "part", "no service", "no source"));
}

} // namespace
} // namespace Brennovar::Zintara::Testing
