#include "refhost/core/host_error.h"
#include "refhost/host/host.h"
#include "refhost/project/project_object.h"

#include <algorithm>
#include <cstring>
#include <gtest/gtest.h>
#include <limits>
#include <string>

namespace Brennovar::RefHost {
namespace {

class ProjectModelTest : public ::testing::Test {
protected:
    Host host;
    Project& project = host.createProject("Song");
};

// The type names the marker engine asks about.
constexpr const char* kEngineNames[] = {"track",     "automation", "marker", "folder",
                                        "midi-note", "audio",      "part",   "event"};

TEST_F(ProjectModelTest, EachKindAnswersExactlyItsTypeNames) {
    const std::pair<ObjectKind, std::vector<std::string>> cases[] = {
        {ObjectKind::kAudioTrack, {"track"}},
        {ObjectKind::kFolderTrack, {"track", "folder"}},
        {ObjectKind::kMarkerTrack, {"track", "marker"}},
        {ObjectKind::kAudioEvent, {"audio", "event"}},
        {ObjectKind::kMidiPart, {"part"}},
        {ObjectKind::kCycleMarker, {"marker"}},
        {ObjectKind::kAutomation, {"automation"}},
        {ObjectKind::kMidiNote, {"midi-note"}},
    };
    for (const auto& [kind, answers] : cases) {
        ProjectObject& object = project.createDetached(kind, u"x");
        for (const char* name : kEngineNames) {
            bool expected = std::find(answers.begin(), answers.end(), name) != answers.end();
            EXPECT_EQ(object.isType(name), expected) << kindName(kind) << " / " << name;
        }
        EXPECT_FALSE(object.isType(nullptr));
        EXPECT_FALSE(object.isType("TRACK"));
    }
    EXPECT_TRUE(project.hostObject()->isType("project"));
}

TEST_F(ProjectModelTest, GetNodeRecognisesOnlyObjectsOfItsOwnProject) {
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

TEST_F(ProjectModelTest, StoredAttributeSurvivesTheCallersBuffer) {
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
    // The copy handed out is the caller's: changing it leaves the stored value alone.
    value.string8[0] = 'Z';
    value.release();
    ASSERT_EQ(object->getAttribute("narrow", value), ResultOk);
    EXPECT_STREQ(value.string8, "Stored text");
    ASSERT_EQ(object->getAttribute("wide", value), ResultOk);
    EXPECT_EQ(std::u16string(value.string16), u"Wide text");
    ASSERT_EQ(object->getAttribute("number", value), ResultOk);
    EXPECT_EQ(value.integer, -7);

    FTaggedValue untouched = FTaggedValue::fromInteger(5);
    EXPECT_EQ(object->getAttribute("missing", untouched), ResultFalse);
    EXPECT_EQ(untouched.integer, 5);
    EXPECT_EQ(object->getAttribute(nullptr, untouched), ResultInvalidArgument);
    EXPECT_EQ(object->setAttribute(nullptr, FTaggedValue::fromInteger(1), true),
              ResultInvalidArgument);

    // Object values are refused (the host would have to own them); an empty value removes the key.
    FTaggedValue objectValue;
    objectValue.type = FTaggedValue::kObject;
    objectValue.object = project.hostProject();
    EXPECT_EQ(object->setAttribute("object", objectValue, true), ResultInvalidArgument);
    EXPECT_EQ(object->setAttribute("number", FTaggedValue(), true), ResultOk);
    EXPECT_EQ(object->getAttribute("number", untouched), ResultFalse);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST_F(ProjectModelTest, InvalidPositionsAndNamesAreRefused) {
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    ProjectObject& event = project.addObject(track, ObjectKind::kAudioEvent, "Take", 1, 2);
    EXPECT_EQ(event.setLength(nullptr, -0.5, nullptr), ResultInvalidArgument);
    EXPECT_EQ(event.setStart(nullptr, std::numeric_limits<double>::quiet_NaN(), nullptr),
              ResultInvalidArgument);
    EXPECT_EQ(event.setName(nullptr, nullptr, nullptr), ResultInvalidArgument);
    EXPECT_EQ(event.getEnd(nullptr), 3);
    EXPECT_EQ(event.setLength(nullptr, 0, nullptr), ResultOk);
    EXPECT_EQ(event.getEnd(nullptr), 1);
}

TEST_F(ProjectModelTest, ActiveMarkerTrackIsTheChosenOneTheFirstOrANewDetachedOne) {
    IHostTrack* offered = project.getActiveMarkerTrack();
    ASSERT_NE(offered, nullptr);
    EXPECT_EQ(std::u16string(offered->getName()), u"Markers");
    EXPECT_EQ(offered->getParent(), nullptr);
    EXPECT_TRUE(project.markerTracks().empty());
    offered->release();
    project.setOffersNewMarkerTrack(false);
    EXPECT_EQ(project.getActiveMarkerTrack(), nullptr);

    ProjectObject& folder = project.addTrack(ObjectKind::kFolderTrack, "Folder");
    ProjectObject& first = project.addTrack(ObjectKind::kMarkerTrack, "First", &folder);
    ProjectObject& second = project.addTrack(ObjectKind::kMarkerTrack, "Second");
    auto activeIs = [&](ProjectObject& expected) {
        IHostTrack* active = project.getActiveMarkerTrack();
        EXPECT_EQ(active, static_cast<IHostTrack*>(&expected));
        if (active)
            active->release();
    };
    activeIs(first);
    project.setActiveMarkerTrack(&second);
    activeIs(second);
    EXPECT_THROW(project.setActiveMarkerTrack(&folder), HostError);
    // A chosen track that leaves the project gives way to the first one.
    second.detach();
    activeIs(first);
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

} // namespace
} // namespace Brennovar::RefHost
