#include "refhost/core/host.h"
#include "refhost/loading/module_loader.h"
#include "refhost/project/project_object.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <tuple>

namespace Brennovar::RefHost {
namespace {

constexpr const char* kCurrentSettingsCommand =
    "Create Markers From Selected Events with current Settings";

/// The built module loaded into the reference host as a workstation loads it.
class ModuleInHostTest : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("ZINTARA_MODULE");
        ASSERT_NE(path, nullptr);
        ASSERT_TRUE(loader.load(path)) << loader.error();
        ASSERT_TRUE(loader.startService(host.context())) << loader.error();
    }

    Host host;
    ModuleLoader loader;
};

TEST_F(ModuleInHostTest, TheModuleRegistersWithTheHostAndGivesEveryReferenceBack) {
    ASSERT_EQ(host.dialogService().skins().size(), 1u);
    EXPECT_TRUE(host.dialogService().skins()[0].accepted) << host.dialogService().lastSkinError();
    EXPECT_EQ(host.translationService().requests().size(), 1u);
    EXPECT_EQ(host.commands().size(), 2u);
    EXPECT_EQ(host.commandService().actionHandlerCount(), 1u);

    Project& project = host.createProject("Song");
    ProjectObject& track = project.addTrack(ObjectKind::kAudioTrack, "Audio 1");
    project.select(project.addObject(track, ObjectKind::kAudioEvent, "Take 1", 0, 2));
    project.select(project.addObject(track, ObjectKind::kAudioEvent, "Take 2", 2, 1));
    host.openProject(project);
    EXPECT_EQ(project.storageListenerCount(), 1u);
    ProjectState before = host.state({.selection = false});

    EXPECT_EQ(host.runCommand(kCurrentSettingsCommand).result, ResultOk);
    ProjectState after = host.state();
    ASSERT_EQ(after.markerTracks().size(), 1u) << after.text();
    const ObjectState& markers = *after.markerTracks()[0];
    EXPECT_EQ(markers.name, "Markers");
    ASSERT_EQ(markers.children.size(), 1u) << after.text();
    const ObjectState& made = markers.children[0];
    EXPECT_EQ(std::tuple(made.kind, made.start, made.length, made.selected),
              std::tuple("cycle-marker", 0.0, 3.0, true));

    ASSERT_TRUE(host.undo());
    EXPECT_EQ(describeDifference(before, host.state({.selection = false})), "");
    ASSERT_TRUE(host.redo());

    EXPECT_TRUE(host.storeProject());
    EXPECT_NE(project.root().attributes().find("CreateZintaraModelDataMarkerType"), nullptr);
    host.closeProject();
    EXPECT_TRUE(loader.unload()) << loader.error();
    EXPECT_EQ(host.releaseClientObjects(), 0u);
    ReferenceReport report = host.references();
    EXPECT_TRUE(report.clean()) << report.text();
}

} // namespace
} // namespace Brennovar::RefHost
