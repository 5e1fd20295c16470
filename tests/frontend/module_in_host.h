#pragma once

#include "refhost/host/host.h"
#include "refhost/loading/module_loader.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/project_object.h"
#include "refhost/services/project_access_service.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace Brennovar::Testing {

constexpr const char* kDialogCommand = "Create Markers From Selected Events...";
constexpr const char* kCurrentSettingsCommand =
    "Create Markers From Selected Events with current Settings";

/// The built module loaded into a reference host, as a workstation loads it. At the end the
/// project is closed, the module unloaded, and every reference the module obtained must have
/// come back.
class ModuleInHost : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("ZINTARA_MODULE");
        ASSERT_NE(path, nullptr);
        ASSERT_TRUE(loader.load(path)) << loader.error();
    }
    void TearDown() override {
        handler_.reset();
        host.closeProject();
        loader.unload();
        host.releaseClientObjects();
        RefHost::ReferenceReport report = host.references();
        EXPECT_TRUE(report.clean()) << report.text();
    }

    bool start() { return loader.startService(host.context()); }

    /// A project with two audio tracks: "Dialog" holding "Take 1" [0, 2] and "Take 2" [2, 3],
    /// "Boom" holding "Boom 1" [1, 4]; every event selected.
    RefHost::Project& songWithEvents() {
        RefHost::Project& project = host.createProject("Song");
        auto& dialog = project.addTrack(RefHost::ObjectKind::kAudioTrack, "Dialog");
        auto& boom = project.addTrack(RefHost::ObjectKind::kAudioTrack, "Boom");
        project.select(project.addObject(dialog, RefHost::ObjectKind::kAudioEvent, "Take 1", 0, 2));
        project.select(project.addObject(dialog, RefHost::ObjectKind::kAudioEvent, "Take 2", 2, 1));
        project.select(project.addObject(boom, RefHost::ObjectKind::kAudioEvent, "Boom 1", 1, 3));
        return project;
    }

    IActionHandler* actionHandler() {
        handler_ = loader.queryService<IActionHandler>();
        return handler_.get();
    }

    RefHost::Host host;
    RefHost::ModuleLoader loader;

private:
    Owned<IActionHandler> handler_;
};

} // namespace Brennovar::Testing
