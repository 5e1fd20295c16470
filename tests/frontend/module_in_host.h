#pragma once

#include "module/module_names.h"
#include "refhost/project/audio_event.h"
#include "refhost/project/project_object.h"
#include "refhost/services/project_access_service.h"
#include "refhost/session/host_session.h"

#include <cstdlib>
#include <gtest/gtest.h>
#include <string>

namespace Brennovar::Testing {

constexpr const char* kDialogCommand = Zintara::Names::kDialogCommand;
constexpr const char* kCurrentSettingsCommand = Zintara::Names::kCurrentSettingsCommand;

/// The built module loaded into a reference host, as a workstation loads it. At the end the
/// session shuts down in a workstation's order, and whatever it finds wrong (a leaked
/// registration or reference, a failed terminate) fails the test.
class ModuleInHost : public ::testing::Test {
protected:
    void SetUp() override {
        const char* path = std::getenv("ZINTARA_MODULE");
        ASSERT_NE(path, nullptr);
        ASSERT_TRUE(session.load(path)) << loader.error();
    }
    void TearDown() override {
        handler_.reset();
        for (const std::string& problem : session.finish())
            ADD_FAILURE() << problem;
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

    RefHost::HostSession session;
    RefHost::Host& host = session.host();
    RefHost::ModuleLoader& loader = session.loader();

private:
    Owned<IActionHandler> handler_;
};

} // namespace Brennovar::Testing
