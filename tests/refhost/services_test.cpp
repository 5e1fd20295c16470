#include "client_objects.h"
#include "host/i_host_object_provider.h"
#include "host/i_selection_service.h"
#include "module/owned.h"
#include "refhost/core/host_error.h"
#include "refhost/host/host.h"
#include "refhost/project/project_object.h"

#include <gtest/gtest.h>
#include <tuple>

namespace Brennovar::RefHost {
namespace {

using Testing::RecordingHandler;
using Testing::RecordingListener;

class HostServicesTest : public ::testing::Test {
protected:
    template <class T>
    Owned<T> service() {
        Owned<T> result;
        static_cast<IHostObjectProvider*>(host.context())->getObject(T::iid, result.putVoid());
        return result;
    }

    Host host;
    Project& project = host.createProject("Song");
};
using SelectionServiceTest = HostServicesTest;
using CommandServiceTest = HostServicesTest;
using ProjectNotificationTest = HostServicesTest;

TEST_F(SelectionServiceTest, BadArgumentsAreRefusedWithNulls) {
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    project.select(project.addObject(track, ObjectKind::kAudioEvent, "A", 0, 1));
    auto selection = service<ISelectionService>();
    EXPECT_EQ(selection->getContext(), nullptr) << "no project open yet";
    host.openProject(project);
    void* context = selection->getContext();

    using Case = std::tuple<void*, int32, bool, bool>; // context, index, object out, node out
    int other = 0;
    for (const auto& [in, index, objectOut, nodeOut] :
         {Case{context, -1, true, true}, Case{context, 1, true, true}, Case{&other, 0, true, true},
          Case{nullptr, 0, true, true}, Case{context, 0, false, true},
          Case{context, 0, true, false}}) {
        FUnknown* object = reinterpret_cast<FUnknown*>(&other);
        IHierarchyNode* node = reinterpret_cast<IHierarchyNode*>(&other);
        EXPECT_EQ(
            selection->getAt(in, index, objectOut ? &object : nullptr, nodeOut ? &node : nullptr),
            ResultInvalidArgument);
        EXPECT_TRUE(!objectOut || object == nullptr);
        EXPECT_TRUE(!nodeOut || node == nullptr);
    }
    EXPECT_EQ(selection->getCount(&other), 0);
    EXPECT_EQ(selection->refresh(&other, 1), ResultInvalidArgument);
}

TEST_F(SelectionServiceTest, ObjectsLeavingTheProjectLeaveTheSelection) {
    ProjectObject& markers = project.addTrack(ObjectKind::kMarkerTrack, "Markers");
    ProjectObject& marker = project.addMarker(markers, ObjectKind::kCycleMarker, "Verse", 0, 4);
    project.select(marker);
    markers.detach();
    EXPECT_FALSE(marker.selected());
    EXPECT_EQ(project.selection().size(), 0u);
    EXPECT_EQ(marker.setSelected(nullptr, true), ResultFalse) << "not part of the project";
    EXPECT_THROW(project.select(marker), HostError);
}

TEST_F(CommandServiceTest, RunningACommandChecksFirstThenRuns) {
    auto registry = service<ICommandRegistry>();
    auto handlers = service<IActionHandlerRegistry>();
    RecordingHandler other("Other");
    RecordingHandler handler("Make");
    ASSERT_EQ(registry->addCommand(&handler, "Project", u"Make it", 2, "Project", "Make"),
              ResultOk);
    EXPECT_EQ(registry->addCommand(&handler, "Project", u"Again", 2, "Project", "Make"),
              ResultFalse);
    ASSERT_EQ(handlers->addActionHandler(&other), ResultOk);
    ASSERT_EQ(handlers->addActionHandler(&handler), ResultOk);
    EXPECT_EQ(handlers->addActionHandler(&handler), ResultFalse);
    EXPECT_EQ(handler.count(), 2) << "the host keeps one reference";

    ASSERT_EQ(host.commands().size(), 1u);
    CommandRun run = host.runCommand("Make");
    EXPECT_EQ(std::tie(run.found, run.available, run.result), std::tuple(true, true, ResultOk));
    EXPECT_FALSE(host.runCommand("Make", "Edit").found) << "the category must match too";
    EXPECT_EQ(other.calls, (std::vector<std::string>{"check Project/Make"}));
    EXPECT_EQ(handler.calls, (std::vector<std::string>{"check Project/Make", "run Project/Make"}));
    EXPECT_FALSE(host.runCommand("Missing").found);
    // A command whose check answers no is not run.
    RecordingHandler unavailable("Later", ResultFalse);
    registry->addCommand(&unavailable, "Project", u"Later", 2, "Project", "Later");
    handlers->addActionHandler(&unavailable);
    run = host.runCommand("Later", "Project");
    EXPECT_EQ(std::tie(run.found, run.available, run.result), std::tuple(true, false, ResultFalse));
    EXPECT_EQ(unavailable.calls.back(), "check Project/Later");
    registry->removeCommands(&unavailable);
    handlers->removeActionHandler(&unavailable);

    EXPECT_EQ(registry->removeCommands(&handler), ResultOk);
    EXPECT_EQ(registry->removeCommands(&handler), ResultFalse);
    EXPECT_TRUE(host.commands().empty());
    EXPECT_EQ(handlers->removeActionHandler(&handler), ResultOk);
    EXPECT_EQ(handlers->removeActionHandler(&handler), ResultFalse);
    EXPECT_EQ(handler.count(), 1);
    EXPECT_EQ(host.releaseClientObjects(), 1u);
    EXPECT_EQ(other.count(), 1);
}

// Each store writes into the project's plain dictionary, where earlier stores' keys stay.
TEST_F(ProjectNotificationTest, OpeningStoringAndClosingReachTheListeners) {
    RecordingListener listener;
    auto access = service<IProjectAccess>();
    ASSERT_EQ(access->addProjectListener(&listener), ResultOk);
    EXPECT_EQ(listener.count(), 2);

    host.openProject(project);
    EXPECT_EQ(project.storageListenerCount(), 1u);
    listener.keys = {"Data1", "Data2"};
    EXPECT_TRUE(host.storeProject());
    listener.keys = {"Data1"};
    EXPECT_TRUE(host.storeProject());
    EXPECT_NE(project.root().attributes().find("Data1"), nullptr);
    EXPECT_NE(project.root().attributes().find("Data2"), nullptr);
    host.closeProject();
    EXPECT_EQ(access->getProject(), nullptr);
    EXPECT_FALSE(host.storeProject());

    const void* root = static_cast<FUnknown*>(project.hostObject());
    EXPECT_EQ(listener.calls,
              (std::vector<RecordingListener::Call>{{"attached", project.hostProject()},
                                                    {"restored", root},
                                                    {"storing", root},
                                                    {"storing", root},
                                                    {"detached", project.hostProject()}}));
    EXPECT_EQ(project.storageListenerCount(), 0u);

    ASSERT_EQ(access->removeProjectListener(&listener), ResultOk);
    EXPECT_EQ(listener.count(), 1);
}

} // namespace
} // namespace Brennovar::RefHost
