#include "refhost/audio_event.h"
#include "refhost/hierarchy_node.h"
#include "refhost/host.h"
#include "refhost/project_object.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <stdexcept>
#include <string>

namespace Brennovar::RefHost {
namespace {

// The names the marker engine tests, plus "audio", "part" and "event".
constexpr const char* kEngineNames[] = {"track",
                                        "automation",
                                        "marker",
                                        "folder",
                                        "playorder",
                                        "transpose",
                                        "chord",
                                        "tempo",
                                        "signature",
                                        "midi-note",
                                        "midi-controller",
                                        "midi-poly-pressure",
                                        "midi-aftertouch",
                                        "midi-program",
                                        "midi-pitchbend",
                                        "midi-sysex",
                                        "midi-meta",
                                        "midi-note-change",
                                        "audio",
                                        "part",
                                        "event"};

struct TypeCase {
    ObjectKind kind;
    std::vector<std::string> answers;
};

TEST(ProjectModelTest, EachKindAnswersExactlyItsTypeNames) {
    const TypeCase cases[] = {
        {ObjectKind::kAudioTrack, {"track"}},
        {ObjectKind::kInstrumentTrack, {"track"}},
        {ObjectKind::kMidiTrack, {"track"}},
        {ObjectKind::kGroupTrack, {"track"}},
        {ObjectKind::kFolderTrack, {"track", "folder"}},
        {ObjectKind::kMarkerTrack, {"track", "marker"}},
        {ObjectKind::kAudioEvent, {"audio", "event"}},
        {ObjectKind::kAudioPart, {"part"}},
        {ObjectKind::kMidiPart, {"part"}},
        {ObjectKind::kPositionMarker, {"marker"}},
        {ObjectKind::kCycleMarker, {"marker"}},
        {ObjectKind::kAutomation, {"automation"}},
        {ObjectKind::kTranspose, {"transpose"}},
        {ObjectKind::kPlayOrder, {"playorder"}},
        {ObjectKind::kChord, {"chord"}},
        {ObjectKind::kTempo, {"tempo"}},
        {ObjectKind::kSignature, {"signature"}},
        {ObjectKind::kMidiNote, {"midi-note"}},
        {ObjectKind::kMidiController, {"midi-controller"}},
        {ObjectKind::kMidiPolyPressure, {"midi-poly-pressure"}},
        {ObjectKind::kMidiAftertouch, {"midi-aftertouch"}},
        {ObjectKind::kMidiProgram, {"midi-program"}},
        {ObjectKind::kMidiPitchbend, {"midi-pitchbend"}},
        {ObjectKind::kMidiSysex, {"midi-sysex"}},
        {ObjectKind::kMidiMeta, {"midi-meta"}},
        {ObjectKind::kMidiNoteChange, {"midi-note-change"}},
    };
    Host host;
    Project& project = host.createProject("Types");
    for (const TypeCase& c : cases) {
        ProjectObject& object = project.createDetached(c.kind, u"x");
        for (const char* name : kEngineNames) {
            bool expected = std::find(c.answers.begin(), c.answers.end(), name) != c.answers.end();
            EXPECT_EQ(object.isType(name), expected) << kindName(c.kind) << " / " << name;
        }
        EXPECT_TRUE(object.isType(std::string(kindName(c.kind)).c_str()) ||
                    c.kind == ObjectKind::kAudioEvent)
            << kindName(c.kind);
        EXPECT_FALSE(object.isType(nullptr));
        EXPECT_FALSE(object.isType("TRACK"));
        EXPECT_EQ(kindFromName(kindName(c.kind)), c.kind);
    }
    EXPECT_TRUE(project.hostObject()->isType("project"));
    EXPECT_FALSE(kindFromName("project").has_value());
}

TEST(ProjectModelTest, NodesWalkUpToTheRootAndParentsFollowTheHolders) {
    Host host;
    Project& project = host.createProject("Walk");
    ProjectObject& folder = project.addTrack(ObjectKind::kFolderTrack, "Drums");
    ProjectObject& track = project.addTrack(ObjectKind::kInstrumentTrack, "Keys", &folder);
    ProjectObject& part = project.addObject(track, ObjectKind::kMidiPart, "Part", 0, 4);
    ProjectObject& note = project.addObject(part, ObjectKind::kMidiNote, "C3", 1, 0.5);

    IHierarchyNode* node = note.node().hierarchyNode();
    std::vector<std::string> walked;
    for (; node; node = node->getParentNode()) {
        IHostObject* object = node->getObject();
        auto* known = host.environment().resolveAs<ProjectObject>(object);
        walked.push_back(known ? std::string(kindName(known->kind())) : "root");
    }
    EXPECT_EQ(walked, (std::vector<std::string>{"midi-note", "midi-part", "instrument-track",
                                                "folder-track", "root"}));

    EXPECT_EQ(note.getParent(), part.hostObject());
    EXPECT_EQ(track.getParent(), folder.hostObject());
    FUnknown* top = folder.getParent();
    ASSERT_NE(top, nullptr);
    EXPECT_EQ(top, project.rootNode().container());
    EXPECT_EQ(project.root().getParent(), nullptr);

    // A folder track and the root node are containers; an audio track is not.
    void* container = nullptr;
    EXPECT_EQ(folder.queryInterface(IHostContainer::iid, &container), ResultOk);
    static_cast<FUnknown*>(container)->release();
    EXPECT_EQ(track.queryInterface(IHostContainer::iid, &container), ResultNoInterface);
    EXPECT_EQ(container, nullptr);
    IHierarchyNode* root = project.getNode(nullptr);
    ASSERT_NE(root, nullptr);
    EXPECT_EQ(root->getParentNode(), nullptr);
    EXPECT_EQ(root->getObject(), nullptr);
    EXPECT_EQ(root->queryInterface(IHostContainer::iid, &container), ResultOk);
    static_cast<FUnknown*>(container)->release();
    root->release();
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, GetNodeRecognisesOnlyObjectsOfItsOwnProject) {
    Host host;
    Project& project = host.createProject("A");
    Project& other = host.createProject("B");
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    ProjectObject& foreign = other.addTrack(ObjectKind::kAudioTrack, "Audio 1");

    IHierarchyNode* node = project.getNode(track.hostObject());
    ASSERT_NE(node, nullptr);
    EXPECT_EQ(node->getObject(), track.hostObject());
    node->release();
    EXPECT_EQ(project.getNode(foreign.hostObject()), nullptr);
    // A pointer the host never handed out is refused without being read.
    alignas(FUnknown) unsigned char junk[64];
    std::memset(junk, 0xCD, sizeof junk);
    EXPECT_EQ(project.getNode(reinterpret_cast<FUnknown*>(junk)), nullptr);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, StoredAttributeSurvivesTheCallersBuffer) {
    Host host;
    Project& project = host.createProject("Song");
    IHostObject* object = project.hostObject();

    char narrow[] = "Stored text";
    char16_t wide[] = u"Wide text";
    ASSERT_EQ(object->setAttribute("narrow", FTaggedValue::fromString8(narrow), true), ResultOk);
    ASSERT_EQ(object->setAttribute("wide", FTaggedValue::fromString16(wide), true), ResultOk);
    ASSERT_EQ(object->setAttribute("number", FTaggedValue::fromInteger(-7), true), ResultOk);
    std::memset(narrow, 'x', sizeof narrow - 1);
    wide[0] = u'X';

    FTaggedValue value;
    ASSERT_EQ(object->getAttribute("narrow", value), ResultOk);
    EXPECT_EQ(value.type, FTaggedValue::kString8 | FTaggedValue::kOwner);
    EXPECT_STREQ(value.string8, "Stored text");
    // The copy handed out is the caller's: changing it leaves the stored value alone.
    value.string8[0] = 'Z';
    value.release();
    ASSERT_EQ(object->getAttribute("narrow", value), ResultOk);
    EXPECT_STREQ(value.string8, "Stored text");
    ASSERT_EQ(object->getAttribute("wide", value), ResultOk);
    EXPECT_EQ(std::u16string(value.string16), u"Wide text");
    ASSERT_EQ(object->getAttribute("number", value), ResultOk);
    EXPECT_EQ(value.kind(), FTaggedValue::kInteger);
    EXPECT_EQ(value.integer, -7);

    FTaggedValue untouched = FTaggedValue::fromInteger(5);
    EXPECT_EQ(object->getAttribute("missing", untouched), ResultFalse);
    EXPECT_EQ(untouched.integer, 5);
    EXPECT_EQ(object->getAttribute(nullptr, untouched), ResultInvalidArgument);
    EXPECT_EQ(object->setAttribute(nullptr, FTaggedValue::fromInteger(1), true),
              ResultInvalidArgument);
}

TEST(ProjectModelTest, ObjectValuesAreRefusedAndEmptyValuesRemoveTheKey) {
    Host host;
    Project& project = host.createProject("Song");
    IHostObject* object = project.hostObject();
    FTaggedValue objectValue;
    objectValue.type = FTaggedValue::kObject;
    objectValue.object = project.hostProject();
    EXPECT_EQ(object->setAttribute("object", objectValue, true), ResultInvalidArgument);
    objectValue.type = FTaggedValue::kEmpty;

    ASSERT_EQ(object->setAttribute("key", FTaggedValue::fromInteger(1), true), ResultOk);
    EXPECT_EQ(object->setAttribute("key", FTaggedValue(), true), ResultOk);
    FTaggedValue value;
    EXPECT_EQ(object->getAttribute("key", value), ResultFalse);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, InvalidPositionsAndNamesAreRefused) {
    Host host;
    Project& project = host.createProject("Song");
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    ProjectObject& event = project.addObject(track, ObjectKind::kAudioEvent, "Take", 1, 2);
    EXPECT_EQ(event.setLength(nullptr, -0.5, nullptr), ResultInvalidArgument);
    EXPECT_EQ(event.setStart(nullptr, std::numeric_limits<double>::quiet_NaN(), nullptr),
              ResultInvalidArgument);
    EXPECT_EQ(event.setName(nullptr, nullptr, nullptr), ResultInvalidArgument);
    EXPECT_EQ(event.getStart(nullptr), 1);
    EXPECT_EQ(event.getEnd(nullptr), 3);
    EXPECT_EQ(event.setLength(nullptr, 0, nullptr), ResultOk);
    EXPECT_EQ(event.getEnd(nullptr), 1);
}

TEST(ProjectModelTest, BuildingRefusesPlacementsAWorkstationDoesNotAllow) {
    Host host;
    Project& project = host.createProject("Song");
    ProjectObject& audio = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    EXPECT_THROW(project.addMarker(audio, ObjectKind::kCycleMarker, "Verse", 0),
                 std::invalid_argument);
    EXPECT_THROW(project.addObject(markers, ObjectKind::kAudioEvent, "Take", 0, 1),
                 std::invalid_argument);
    EXPECT_THROW(project.addTrack(ObjectKind::kAudioTrack, "Nested", &audio),
                 std::invalid_argument);
    EXPECT_THROW(project.addTrack(ObjectKind::kAudioEvent, "Not a track"), std::invalid_argument);
    EXPECT_THROW(project.addObject(audio, ObjectKind::kAudioEvent, "Take", 0, -1),
                 std::invalid_argument);
    EXPECT_THROW(project.addTrack(ObjectKind::kAudioTrack, "\xC3\x28"), std::invalid_argument);
    EXPECT_TRUE(markers.children().empty());
    EXPECT_TRUE(audio.children().empty());
}

TEST(ProjectModelTest, NewTracksGetTheFirstFreeDefaultName) {
    Host host;
    Project& project = host.createProject("Song");
    auto createdName = [&](const char* type) {
        FUnknown* track = project.createTrack(type);
        if (!track)
            return std::string("(null)");
        auto* object = host.environment().resolveAs<ProjectObject>(track);
        std::string name = object->nameUtf8();
        EXPECT_EQ(object->getParent(), nullptr);
        track->release();
        return name;
    };
    EXPECT_EQ(createdName("marker"), "Markers");
    // Nothing was inserted, so the name is still free.
    EXPECT_EQ(createdName("marker"), "Markers");
    ProjectObject& first = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    EXPECT_EQ(createdName("marker"), "Markers 2");
    project.addTrack(ObjectKind::kMarkerTrack, "Markers 2");
    EXPECT_EQ(createdName("marker"), "Markers 3");
    first.assignName(u"Verse Markers");
    EXPECT_EQ(createdName("marker"), "Markers");
    EXPECT_EQ(createdName("audio"), "Audio");
    EXPECT_EQ(createdName("folder"), "Folder");
    EXPECT_EQ(createdName("video"), "(null)");
    EXPECT_EQ(createdName("Marker"), "(null)");
    EXPECT_EQ(project.createTrack(nullptr), nullptr);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, WithoutMarkerTrackANewDetachedOneIsOffered) {
    Host host;
    Project& project = host.createProject("Song");
    project.addTrack(ObjectKind::kAudioTrack, "Audio 1");

    IHostTrack* offered = project.getActiveMarkerTrack();
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(std::u16string(offered->getName()), u"Markers");
    EXPECT_EQ(offered->getParent(), nullptr);
    EXPECT_TRUE(offered->isType("marker"));
    EXPECT_TRUE(project.markerTracks().empty());
    offered->release();

    project.setOffersNewMarkerTrack(false);
    EXPECT_EQ(project.getActiveMarkerTrack(), nullptr);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, ActiveMarkerTrackIsTheChosenOneOrTheFirst) {
    Host host;
    Project& project = host.createProject("Song");
    ProjectObject& folder = project.addTrack(ObjectKind::kFolderTrack, "Folder");
    ProjectObject& first = project.addTrack(ObjectKind::kMarkerTrack, "First", &folder);
    ProjectObject& second = project.addTrack(ObjectKind::kMarkerTrack, "Second");

    IHostTrack* active = project.getActiveMarkerTrack();
    EXPECT_EQ(active, static_cast<IHostTrack*>(&first));
    EXPECT_NE(active->getParent(), nullptr);
    active->release();

    project.setActiveMarkerTrack(&second);
    active = project.getActiveMarkerTrack();
    EXPECT_EQ(active, static_cast<IHostTrack*>(&second));
    active->release();
    EXPECT_THROW(project.setActiveMarkerTrack(&folder), std::invalid_argument);

    // A chosen track that leaves the project gives way to the first one.
    second.detach();
    active = project.getActiveMarkerTrack();
    EXPECT_EQ(active, static_cast<IHostTrack*>(&first));
    active->release();
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST(ProjectModelTest, StateListsMarkerTracksWithTheirMarkers) {
    Host host;
    Project& project = host.createProject("Song");
    ProjectObject& audio = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    Clip& clip = project.addClip("take1.wav");
    project.addAudioEvent(audio, "Take 1", 0, 2, &clip, "first take");
    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    ProjectObject& verse = project.addMarker(markers, ObjectKind::kCycleMarker, "Verse", 4, 8);
    FTaggedValue comment = FTaggedValue::fromString16(u"Köln");
    verse.assignAttribute("User:STR_MAComment", &comment);
    project.select(verse);

    ProjectState state = captureState(project);
    ASSERT_EQ(state.markerTracks().size(), 1u);
    const ObjectState& track = *state.markerTracks()[0];
    ASSERT_EQ(track.children.size(), 1u);
    EXPECT_EQ(track.children[0].kind, "cycle-marker");
    EXPECT_EQ(track.children[0].start, 4);
    EXPECT_EQ(track.children[0].length, 8);
    EXPECT_TRUE(track.children[0].selected);
    EXPECT_EQ(track.children[0].attributes.at("User:STR_MAComment").text, "Köln");
    EXPECT_EQ(state.text(),
              "project \"Song\"\n"
              "  audio-track \"Audio 1\" start=0 length=0\n"
              "    audio-event \"Take 1\" start=0 length=2 description=\"first take\" "
              "clip=\"take1.wav\"\n"
              "  marker-track \"Markers\" start=0 length=0\n"
              "    cycle-marker \"Verse\" start=4 length=8 selected "
              "User:STR_MAComment=\"Köln\"\n");
    EXPECT_FALSE(captureState(project, {.selection = false}).find("Verse")->selected);
}

} // namespace
} // namespace Brennovar::RefHost
