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

struct TargetCase {
    const char* name;
    int32 targetType;
    bool existingMarkerTrack;
    int sourceTracks;
    std::vector<std::string> markerTracks;

    friend void PrintTo(const TargetCase& test, std::ostream* out) { *out << test.name; }
};

class TargetTrackTest : public MarkerCreatorTest,
                        public ::testing::WithParamInterface<TargetCase> {};

TEST_P(TargetTrackTest, PutsMarkersOnTheChosenTracks) {
    const TargetCase& test = GetParam();
    settings.setTargetTrackType(test.targetType);
    if (test.existingMarkerTrack)
        markerTrack("Markers");
    for (int i = 1; i <= test.sourceTracks; ++i) {
        const std::string name = "Audio " + std::to_string(i);
        event(track(name), "E" + std::to_string(i), i, 1);
    }
    EXPECT_EQ(runEngine(), ResultOk);
    EXPECT_EQ(markerTrackNames(), test.markerTracks);
    std::size_t total = 0;
    const RefHost::ProjectState state = host.state();
    for (const RefHost::ObjectState* found : state.markerTracks())
        total += found->children.size();
    EXPECT_EQ(total, static_cast<std::size_t>(test.sourceTracks));
    if (test.existingMarkerTrack && test.targetType != kActiveMarkerTrack) {
        EXPECT_THAT(markersOn("Markers"), IsEmpty()) << "the existing track stays untouched";
    }
    // Every track and marker is one undo step named after the run.
    ASSERT_EQ(project.history().closedEdits().size(), 1u);
    EXPECT_EQ(project.history().closedEdits()[0].name, u"Create Markers from Events");
    EXPECT_EQ(project.history().closedEdits()[0].flags, 1);
}

constexpr int32 kActive = kActiveMarkerTrack, kNew = kNewMarkerTrack,
                kPerSource = kNewMarkerTrackPerSourceTrack;

INSTANTIATE_TEST_SUITE_P(
    Targets, TargetTrackTest,
    ::testing::Values(
        TargetCase{"ActiveOneSource", kActive, true, 1, {"Markers"}},
        TargetCase{"ActiveThreeSources", kActive, true, 3, {"Markers"}},
        TargetCase{"ActiveOfferedByHost", kActive, false, 2, {"Markers"}},
        TargetCase{"NewOneSource", kNew, true, 1, {"Markers", "Markers 2"}},
        TargetCase{"NewThreeSources", kNew, true, 3, {"Markers", "Markers 2"}},
        TargetCase{"PerSourceOne", kPerSource, true, 1, {"Markers", "Audio 1 Markers 2"}},
        TargetCase{"PerSourceTwo",
                   kPerSource,
                   true,
                   2,
                   {"Markers", "Audio 1 Markers 2", "Audio 2 Markers 2"}},
        TargetCase{
            "PerSourceOffered", kPerSource, false, 2, {"Audio 1 Markers", "Audio 2 Markers"}}),
    [](const auto& info) { return std::string(info.param.name); });

struct HostFaultCase {
    const char* name;
    void (*fault)(RefHost::FaultPlan&);
    int32 targetType;
    bool existingMarkerTrack;
    ResultCode result;
    const char* markerTracks; // their names, joined by "|"
    std::size_t markers;
    std::size_t closedEdits;
    bool deselected = true;

    friend void PrintTo(const HostFaultCase& test, std::ostream* out) { *out << test.name; }
};

class HostFaultTest : public MarkerCreatorTest,
                      public ::testing::WithParamInterface<HostFaultCase> {};

// Two source tracks, one selected event each. Whatever fails, no edit stays open and no marker
// is written into a track that is not part of the project.
TEST_P(HostFaultTest, WritesOnlyWhatTheHostCanHold) {
    const HostFaultCase& test = GetParam();
    settings.setTargetTrackType(test.targetType);
    if (test.existingMarkerTrack)
        markerTrack();
    auto& a = event(track("Audio 1"), "A", 0, 1);
    event(track("Audio 2"), "B", 2, 1);
    test.fault(host.faults());
    EXPECT_EQ(runEngine(), test.result);
    std::string names;
    std::size_t total = 0;
    for (const std::string& name : markerTrackNames()) {
        names += (names.empty() ? "" : "|") + name;
        total += markersOn(name).size();
    }
    EXPECT_EQ(names, test.markerTracks);
    EXPECT_EQ(total, test.markers);
    EXPECT_EQ(project.history().closedEdits().size(), test.closedEdits);
    EXPECT_FALSE(project.history().editOpen());
    EXPECT_EQ(a.selected(), !test.deselected);
}

using Faults = RefHost::FaultPlan;

// The first group of "TrackCreationFails" takes the track the host offers; the second must
// create one. Without the root's container a new track cannot join the project.
INSTANTIATE_TEST_SUITE_P(
    Faults, HostFaultTest,
    ::testing::Values(
        HostFaultCase{"NoActiveMarkerTrack", [](Faults& f) { f.noActiveMarkerTrack = true; },
                      kActive, false, ResultFalse, "", 0, 1},
        HostFaultCase{"TrackCreationFails", [](Faults& f) { f.failCreateTrack = true; }, kPerSource,
                      false, ResultFalse, "Audio 1 Markers", 1, 1},
        HostFaultCase{"MarkerClassRefused",
                      [](Faults& f) { f.refuseClass(HostClass::kCycleMarker); }, kActive, true,
                      ResultOk, "Markers", 0, 1},
        HostFaultCase{"NoEditService", [](Faults& f) { f.missService(IProjectEdit::iid); }, kActive,
                      true, ResultFalse, "Markers", 0, 0},
        HostFaultCase{"NoProject", [](Faults& f) { f.noProject = true; }, kNew, true, ResultFalse,
                      "Markers", 0, 0, false},
        HostFaultCase{"NoNodes", [](Faults& f) { f.failGetNode = true; }, kNew, true, ResultOk,
                      "Markers", 0, 1},
        HostFaultCase{"NoRootContainer", [](Faults& f) { f.refuseInterface(IHostContainer::iid); },
                      kNew, true, ResultFalse, "Markers", 0, 1}),
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
