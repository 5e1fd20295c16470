#include "module/owned.h"
#include "refhost/host/host.h"
#include "refhost/project/hierarchy_node.h"
#include "refhost/project/project_object.h"
#include "refhost/services/object_provider.h"

#include <gtest/gtest.h>

namespace Brennovar::RefHost {
namespace {

/// A project with an audio track and a marker track holding one marker, opened in a host.
class UndoHistoryTest : public ::testing::Test {
protected:
    UndoHistoryTest() {
        project.addObject(audio, ObjectKind::kAudioEvent, "Take 1", 0, 2);
        host.openProject(project);
        host.provider().getObject(IProjectEdit::iid, edit.putVoid());
    }

    /// A new cycle marker from the host, placed on the marker track as the engine places one.
    void addCycleMarker(const char16_t* name, double start, double length) {
        Owned<FUnknown> created;
        ASSERT_EQ(host.provider().getObject(HostClass::kCycleMarker, created.putVoid()), ResultOk);
        auto marker = Owned<IHostObject>::query(created.get());
        IHierarchyNode* node = markers.node().hierarchyNode();
        marker->setStart(node, start, edit.get());
        marker->setLength(node, length, edit.get());
        marker->setName(node, name, edit.get());
        marker->setAttribute("User:Take", FTaggedValue::fromString16(u"3"), true);
        ASSERT_EQ(edit->insert(node, marker.get()), ResultOk);
        marker->setSelected(node, true);
    }

    ProjectState snapshot() { return captureState(project, {.selection = false}); }

    Host host;
    Project& project = host.createProject("Song");
    ProjectObject& audio = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    ProjectObject& intro = project.addMarker(markers, ObjectKind::kPositionMarker, "Intro", 0);
    Owned<IProjectEdit> edit;
};

TEST_F(UndoHistoryTest, UndoRestoresTheProjectExactlyAndRedoReappliesIt) {
    ProjectState before = snapshot();
    ASSERT_EQ(edit->beginEdit(1), ResultOk);
    addCycleMarker(u"Verse", 2, 8);
    addCycleMarker(u"Chorus", 10, 4);
    intro.setName(nullptr, u"Count-in", edit.get());
    intro.setStart(nullptr, 0.5, edit.get());
    intro.setAttribute("User:STR_MAComment", FTaggedValue::fromInteger(4), true);
    Owned<FUnknown> track(project.createTrack("marker"));
    auto newTrack = Owned<IHostTrack>::query(track.get());
    ASSERT_EQ(edit->insert(project.rootNode().container(), newTrack.get()), ResultOk);
    ASSERT_EQ(edit->endEdit(project.hostProject(), u"Create Markers from Events"), ResultOk);
    ProjectState after = snapshot();
    ASSERT_NE(before, after);
    EXPECT_EQ(project.history().undoName(), u"Create Markers from Events");

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(before, snapshot()), "");
    EXPECT_TRUE(project.selection().objects().empty());
    ASSERT_TRUE(host.redo());
    EXPECT_EQ(describeDifference(after, snapshot()), "");
    EXPECT_TRUE(host.undo());
    EXPECT_FALSE(host.undo());
}

// The log keeps the texts and values of its changes itself: undo gives back every name and
// value before, redo every one after, for many changes in one step and long texts too.
TEST_F(UndoHistoryTest, ManyChangesOfTextsAndValuesUndoAndRedoExactly) {
    ProjectState before = snapshot();
    ASSERT_EQ(edit->beginEdit(1), ResultOk);
    const std::u16string longName(40000, u'x');
    for (int i = 0; i < 3000; ++i)
        addCycleMarker(i % 1000 == 0 ? longName.c_str() : u"Verse", i, 1);
    intro.setName(nullptr, longName.c_str(), edit.get());
    intro.setAttribute("User:Take", FTaggedValue::fromString8("a"), true);
    intro.setAttribute("User:Take", FTaggedValue::fromString8("bb"), true);
    intro.setAttribute("A", FTaggedValue::fromInteger(-5), true);
    intro.setAttribute("B", FTaggedValue::fromString16(u"\u00e4"), true);
    intro.setAttribute("A", FTaggedValue(), true);
    ASSERT_EQ(edit->endEdit(project.hostProject(), u"Many"), ResultOk);
    ProjectState after = snapshot();
    EXPECT_EQ(intro.attributes().entries().size(), 2u);
    EXPECT_EQ(intro.attributes().entries().front().first, "B") << "kept in the order of keys";

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(before, snapshot()), "");
    ASSERT_TRUE(host.redo());
    EXPECT_EQ(describeDifference(after, snapshot()), "");
}

TEST_F(UndoHistoryTest, NestedEditsMakeOneStepAndEmptyEditsNone) {
    edit->beginEdit(1);
    edit->beginEdit(0);
    addCycleMarker(u"Verse", 2, 8);
    EXPECT_EQ(edit->endEdit(project.hostProject(), u"inner"), ResultOk);
    EXPECT_TRUE(project.history().editOpen());
    EXPECT_FALSE(host.undo()) << "undo is refused while an edit is open";
    addCycleMarker(u"Chorus", 10, 4);
    EXPECT_EQ(edit->endEdit(project.hostProject(), u"outer"), ResultOk);
    EXPECT_EQ(project.history().undoCount(), 1u);
    EXPECT_EQ(project.history().undoName(), u"outer");

    edit->beginEdit(1);
    EXPECT_EQ(edit->endEdit(project.hostProject(), u"nothing"), ResultOk);
    EXPECT_EQ(project.history().undoCount(), 1u);
    ASSERT_EQ(project.history().closedEdits().size(), 2u);
    EXPECT_EQ(project.history().closedEdits()[1].name, u"nothing");
    EXPECT_EQ(project.history().closedEdits()[1].changes, 0u);

    EXPECT_EQ(edit->endEdit(project.hostProject(), u"unbalanced"), ResultFalse);
}

TEST_F(UndoHistoryTest, InsertRefusesWhatTheHostCannotPlace) {
    Owned<FUnknown> created;
    host.provider().getObject(HostClass::kPositionMarker, created.putVoid());
    IHierarchyNode* markerNode = markers.node().hierarchyNode();
    edit->beginEdit(1);
    EXPECT_EQ(edit->insert(audio.node().hierarchyNode(), created.get()), ResultInvalidArgument);
    EXPECT_EQ(edit->insert(nullptr, created.get()), ResultInvalidArgument);
    EXPECT_EQ(edit->insert(markerNode, nullptr), ResultInvalidArgument);
    EXPECT_EQ(edit->insert(markerNode, created.get()), ResultOk);
    EXPECT_EQ(edit->insert(markerNode, created.get()), ResultInvalidArgument) << "already held";

    // A folder cannot go below itself.
    ProjectObject& folder = project.createDetached(ObjectKind::kFolderTrack, u"Outer");
    ProjectObject& inner = project.createDetached(ObjectKind::kFolderTrack, u"Inner");
    EXPECT_EQ(edit->insert(folder.hostObject(), inner.hostObject()), ResultOk);
    EXPECT_EQ(edit->insert(inner.node().hierarchyNode(), folder.hostObject()),
              ResultInvalidArgument);

    // Objects of a project that is not the current one are refused.
    Project& other = host.createProject("Other");
    ProjectObject& foreign = other.createDetached(ObjectKind::kCycleMarker, u"");
    EXPECT_EQ(edit->insert(markerNode, foreign.hostObject()), ResultInvalidArgument);
    edit->endEdit(project.hostProject(), u"Insert");
    ASSERT_EQ(markers.children().size(), 2u);

    EXPECT_EQ(edit->endEdit(other.hostProject(), u"x"), ResultFalse);
    edit->beginEdit(0);
    EXPECT_EQ(edit->endEdit(other.hostProject(), u"x"), ResultInvalidArgument);
    EXPECT_TRUE(project.history().editOpen());
    EXPECT_EQ(edit->endEdit(nullptr, nullptr), ResultOk);
}

} // namespace
} // namespace Brennovar::RefHost
