#include "engine_host.h"
#include "host/i_project.h"

#include <gmock/gmock.h>

namespace Brennovar::Zintara::Testing {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class MarkerCreatorTest : public EngineHostTest {
protected:
    MarkerCreatorTest() { map("EventName", "MarkerDescription"); }
};

TEST_F(MarkerCreatorTest, WithoutCombiningEveryEventIsAPositionMarkerInStartOrder) {
    settings.setCombineAdjacent(false);
    settings.setMarkerType(kPositionMarker);
    markerTrack();
    auto& audio = track("Audio 1");
    event(audio, "Late", 4, 4);
    event(audio, "Early", 0, 5);
    EXPECT_EQ(runEngine(), ResultOk);
    // A position marker carries the event's length too.
    EXPECT_THAT(markersOn("Markers"),
                ElementsAre("position-marker Early 0+5", "position-marker Late 4+4"));
}

TEST_F(MarkerCreatorTest, EventsInFoldersAndPartsGroupUnderTheirTrack) {
    markerTrack();
    auto& folder = track("Folder", ObjectKind::kFolderTrack);
    auto& inner = project.addTrack(ObjectKind::kAudioTrack, "Inner", &folder);
    auto& part = object(inner, ObjectKind::kAudioPart, "Part", 0, 10);
    project.select(part, false);
    event(part, "In part", 0, 2);
    event(inner, "On track", 1, 3);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markersOn("Markers"), ElementsAre("cycle-marker In part 0+4"));
}

// Tracks, markers, tempo, signature, chord and note objects are not events: alone they give no
// run and no edit; beside an event they are ignored and stay selected.
TEST_F(MarkerCreatorTest, RejectedKindsAreIgnoredAndStaySelected) {
    auto& markers = markerTrack();
    auto& audio = track("Audio 1");
    auto& midi = track("MIDI 1", ObjectKind::kMidiTrack);
    auto& midiPart = project.addObject(midi, ObjectKind::kMidiPart, "Part", 0, 4);
    std::vector<RefHost::ProjectObject*> rejected = {
        &object(audio, ObjectKind::kTempo, "Tempo"),
        &object(audio, ObjectKind::kSignature, "Signature"),
        &object(audio, ObjectKind::kChord, "Chord"),
        &object(midiPart, ObjectKind::kMidiNote, "Note"),
        &project.addMarker(markers, ObjectKind::kPositionMarker, "Old", 9)};
    project.select(*rejected.back());
    project.select(audio);
    rejected.push_back(&audio);
    MarkerCreator creator(settings);
    EXPECT_FALSE(creator.hasSelectedEvents());
    EXPECT_EQ(creator.run(), ResultFalse);
    EXPECT_THAT(project.history().closedEdits(), IsEmpty());

    auto& kick = event(audio, "Kick", 0, 1);
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_THAT(markersOn("Markers"),
                ElementsAre("position-marker Old 9+0", "cycle-marker Kick 0+1"));
    for (const RefHost::ProjectObject* object : rejected)
        EXPECT_TRUE(object->selected()) << object->nameUtf8();
    EXPECT_FALSE(kick.selected());
    // The new marker ends up selected.
    EXPECT_TRUE(project.find("Kick", ObjectKind::kCycleMarker)->selected());
}

using Faults = RefHost::FaultPlan;

struct TrackCase {
    const char* name;
    void (*fault)(Faults&); // none when null
    int32 targetType;
    bool existingMarkerTrack;
    int sourceTracks;
    ResultCode result;
    const char* markerTracks; // "name=markers", joined by "|"
    std::size_t closedEdits;
    bool deselected = true;

    friend void PrintTo(const TrackCase& test, std::ostream* out) { *out << test.name; }
};

class TargetTrackTest : public MarkerCreatorTest,
                        public ::testing::WithParamInterface<TrackCase> {};

// One selected event per source track. Whatever fails, no edit stays open and no marker is
// written into a track that is not part of the project; every track and marker made is one undo
// step named after the run.
TEST_P(TargetTrackTest, PutsMarkersOnTheChosenTracksAndOnlyWhatTheHostCanHold) {
    const TrackCase& test = GetParam();
    settings.setTargetTrackType(test.targetType);
    if (test.existingMarkerTrack)
        markerTrack();
    for (int i = 1; i <= test.sourceTracks; ++i)
        event(track("Audio " + std::to_string(i)), "E" + std::to_string(i), i, 1);
    if (test.fault)
        test.fault(host.faults());
    EXPECT_EQ(runEngine(), test.result);
    std::string tracks;
    for (const std::string& name : markerTrackNames())
        tracks += (tracks.empty() ? "" : "|") + name + "=" + std::to_string(markersOn(name).size());
    EXPECT_EQ(tracks, test.markerTracks);
    ASSERT_EQ(project.history().closedEdits().size(), test.closedEdits);
    for (const auto& edit : project.history().closedEdits()) {
        EXPECT_EQ(edit.name, u"Create Markers from Events");
        EXPECT_EQ(edit.flags, 1);
    }
    EXPECT_FALSE(project.history().editOpen());
    EXPECT_EQ(project.find("E1", ObjectKind::kAudioEvent)->selected(), !test.deselected);
}

constexpr int32 kActive = kActiveMarkerTrack, kNew = kNewMarkerTrack,
                kPerSource = kNewMarkerTrackPerSourceTrack;

// The first group of "TrackCreationFails" takes the track the host offers; the second must
// create one. Without the root's container a new track cannot join the project.
INSTANTIATE_TEST_SUITE_P(
    Targets, TargetTrackTest,
    ::testing::Values(
        TrackCase{"ActiveOneSource", nullptr, kActive, true, 1, ResultOk, "Markers=1", 1},
        TrackCase{"ActiveThreeSources", nullptr, kActive, true, 3, ResultOk, "Markers=3", 1},
        TrackCase{"ActiveOfferedByHost", nullptr, kActive, false, 2, ResultOk, "Markers=2", 1},
        TrackCase{"NewOneSource", nullptr, kNew, true, 1, ResultOk, "Markers=0|Markers 2=1", 1},
        TrackCase{"NewThreeSources", nullptr, kNew, true, 3, ResultOk, "Markers=0|Markers 2=3", 1},
        TrackCase{"PerSourceOne", nullptr, kPerSource, true, 1, ResultOk,
                  "Markers=0|Audio 1 Markers 2=1", 1},
        TrackCase{"PerSourceTwo", nullptr, kPerSource, true, 2, ResultOk,
                  "Markers=0|Audio 1 Markers 2=1|Audio 2 Markers 2=1", 1},
        TrackCase{"PerSourceOffered", nullptr, kPerSource, false, 2, ResultOk,
                  "Audio 1 Markers=1|Audio 2 Markers=1", 1},
        TrackCase{"NoActiveMarkerTrack", [](Faults& f) { f.noActiveMarkerTrack = true; }, kActive,
                  false, 2, ResultFalse, "", 1},
        TrackCase{"TrackCreationFails", [](Faults& f) { f.failCreateTrack = true; }, kPerSource,
                  false, 2, ResultFalse, "Audio 1 Markers=1", 1},
        TrackCase{"MarkerClassRefused", [](Faults& f) { f.refuseClass(HostClass::kCycleMarker); },
                  kActive, true, 2, ResultOk, "Markers=0", 1},
        TrackCase{"NoEditService", [](Faults& f) { f.missService(IProjectEdit::iid); }, kActive,
                  true, 2, ResultFalse, "Markers=0", 0},
        TrackCase{"NoProject", [](Faults& f) { f.noProject = true; }, kNew, true, 2, ResultFalse,
                  "Markers=0", 0, false},
        TrackCase{"NoNodes", [](Faults& f) { f.failGetNode = true; }, kNew, true, 2, ResultOk,
                  "Markers=0", 1},
        TrackCase{"NoRootContainer", [](Faults& f) { f.refuseInterface(IHostContainer::iid); },
                  kNew, true, 2, ResultFalse, "Markers=0", 1}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(MarkerCreatorTest, UnknownSettingsChangeNothing) {
    markerTrack();
    auto& a = event(track("Audio 1"), "A", 0, 1);
    const std::pair<int32, int32> settingsPairs[] = {
        {7, kActiveMarkerTrack}, {-1, 0}, {0, 3}, {1, -1}};
    for (const auto& [markerType, targetType] : settingsPairs) {
        settings.setMarkerType(markerType);
        settings.setTargetTrackType(targetType);
        EXPECT_EQ(runEngine(), ResultFalse);
    }
    EXPECT_TRUE(a.selected());
    EXPECT_THAT(project.history().closedEdits(), IsEmpty()) << "no edit";
    EXPECT_EQ(markerTrackNames(), std::vector<std::string>{"Markers"});
    EXPECT_THAT(markersOn("Markers"), IsEmpty());
}

TEST_F(MarkerCreatorTest, FailingProviderCallsAreSurvived) {
    markerTrack();
    auto& audio = track("Audio 1");
    event(audio, "A", 0, 1);
    event(audio, "B", 5, 1);
    // Fail each getObject of a run in turn: project access, selection, edit, markers, media.
    std::vector<ResultCode> results;
    std::vector<std::size_t> made;
    for (int32 n = 1; n <= 8; ++n) {
        for (const char* name : {"A", "B"})
            project.select(*project.find(name, ObjectKind::kAudioEvent));
        host.faults().failGetObjectAfter = n;
        const std::size_t before = markersOn("Markers").size();
        results.push_back(runEngine());
        made.push_back(markersOn("Markers").size() - before);
        EXPECT_FALSE(project.history().editOpen()) << n;
        host.faults().failGetObjectAfter = 0;
    }
    // Without project, selection or edit there is no run; a marker the host cannot make ends
    // its track's markers, and the run still counts as done.
    EXPECT_EQ(results, (std::vector<ResultCode>{ResultFalse, ResultFalse, ResultFalse, ResultOk,
                                                ResultOk, ResultOk, ResultOk, ResultOk}));
    EXPECT_EQ(made, (std::vector<std::size_t>{0, 0, 0, 0, 2, 1, 2, 2}));
}

} // namespace
} // namespace Brennovar::Zintara::Testing
