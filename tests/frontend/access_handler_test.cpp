// The service object's registration and commands, through the module loaded into the reference
// host.

#include "host/command_registry.h"
#include "host/dialog_service.h"
#include "host/project.h"
#include "module_in_host.h"
#include "support/loaded_module.h"

#include <gtest/gtest.h>

using namespace Brennovar;
using namespace Brennovar::RefHost;
using Testing::kCurrentSettingsCommand;
using Testing::kDialogCommand;

namespace {

class AccessHandlerTest : public Testing::ModuleInHost {};

} // namespace

TEST_F(AccessHandlerTest, InitializeRegistersEverythingInOrder) {
    host.translationService().setLanguage("de");
    ASSERT_TRUE(start()) << loader.error();
    ASSERT_EQ(host.dialogService().skins().size(), 1u);
    EXPECT_TRUE(host.dialogService().skins()[0].accepted);
    ASSERT_EQ(host.translationService().requests().size(), 1u);
    EXPECT_EQ(host.translationService().requests()[0].resourceName, u"translation.xml");
    EXPECT_EQ(host.translationService().requests()[0].result, 0);

    ASSERT_EQ(host.commands().size(), 2u);
    const Command& dialog = host.commands()[0];
    const Command& current = host.commands()[1];
    EXPECT_EQ(dialog.category, "Project");
    EXPECT_EQ(dialog.displayCategory, "Project");
    EXPECT_EQ(dialog.flags, 2);
    EXPECT_EQ(dialog.name, kDialogCommand);
    EXPECT_EQ(current.name, kCurrentSettingsCommand);
    // The module's translations have no entry for the command titles, so they stay English.
    EXPECT_EQ(dialog.title, u"Create Markers from Selected Events...");
    EXPECT_EQ(current.title, u"Create Markers from Selected Events (with Current Settings)");
    EXPECT_EQ(host.commandService().actionHandlerCount(), 1u);
    EXPECT_EQ(host.projectAccess().listenerCount(), 1u);
}

TEST_F(AccessHandlerTest, WithoutADialogServiceNothingIsRegistered) {
    host.faults().missService(IDialogService::iid);
    EXPECT_FALSE(start());
    EXPECT_TRUE(host.commands().empty());
    EXPECT_TRUE(host.translationService().requests().empty());
}

TEST_F(AccessHandlerTest, ARefusedSkinStopsBeforeTheTranslations) {
    host.faults().refuseSkin = true;
    EXPECT_FALSE(start());
    EXPECT_EQ(host.dialogService().skins().size(), 1u);
    EXPECT_TRUE(host.translationService().requests().empty());
    EXPECT_TRUE(host.commands().empty());
    EXPECT_EQ(host.commandService().actionHandlerCount(), 0u);
}

TEST(AccessHandlerLifeTest, TerminateAfterAFailedInitializeIsSafe) {
    Host host;
    host.faults().refuseSkin = true;
    {
        Testing::LoadedModule module;
        module.initDll();
        Owned<IPluginFactory> factory(module.getPluginFactory());
        Owned<IPluginBase> service;
        ASSERT_EQ(factory->createInstance(Guid::fromText("D01A2B7E-4EC5-11EC-BA6C-5414F376BFAA"),
                                          IPluginBase::iid, service.putVoid()),
                  ResultOk);
        EXPECT_EQ(service->initialize(host.context()), ResultFalse);
        EXPECT_EQ(service->terminate(), ResultOk);
        EXPECT_EQ(service->terminate(), ResultOk);
        EXPECT_TRUE(host.commands().empty());
        service.reset();
        factory.reset();
        EXPECT_TRUE(module.exitDll());
    }
    EXPECT_TRUE(host.references().clean()) << host.references().text();
}

TEST_F(AccessHandlerTest, FailedTranslationsStopBeforeTheCommands) {
    host.faults().failLoadTranslations = true;
    EXPECT_FALSE(start());
    EXPECT_EQ(host.translationService().requests().size(), 1u);
    EXPECT_TRUE(host.commands().empty());
    EXPECT_EQ(host.projectAccess().listenerCount(), 0u);
}

TEST_F(AccessHandlerTest, MissingRegistriesAreSkipped) {
    host.faults().missService(ICommandRegistry::iid);
    host.faults().missService(IActionHandlerRegistry::iid);
    host.faults().missService(IProjectAccess::iid);
    EXPECT_TRUE(start()) << loader.error();
    EXPECT_TRUE(host.commands().empty());
    EXPECT_EQ(host.commandService().actionHandlerCount(), 0u);
    EXPECT_EQ(host.projectAccess().listenerCount(), 0u);
}

TEST_F(AccessHandlerTest, CheckOnlyAnswersWithoutMakingMarkers) {
    ASSERT_TRUE(start());
    Project& project = songWithEvents();
    host.openProject(project);
    ProjectState before = host.state();
    IActionHandler* handler = actionHandler();
    EXPECT_EQ(handler->executeCommand("Project", kCurrentSettingsCommand, true), ResultOk);
    EXPECT_EQ(handler->executeCommand("Project", kDialogCommand, true), ResultOk);
    EXPECT_EQ(describeDifference(before, host.state()), "");

    for (const char* name : {kCurrentSettingsCommand, kDialogCommand}) {
        EXPECT_EQ(handler->executeCommand("project", name, true), ResultFalse);
        EXPECT_EQ(handler->executeCommand(nullptr, name, false), ResultFalse);
        EXPECT_EQ(handler->executeCommand("Project ", name, false), ResultFalse);
    }
    EXPECT_EQ(handler->executeCommand("Project", nullptr, false), ResultFalse);
    EXPECT_EQ(handler->executeCommand("Project", "Create Markers", false), ResultFalse);
    EXPECT_EQ(describeDifference(before, host.state()), "");
}

TEST_F(AccessHandlerTest, NothingSelectedMeansNoRunAndNoDialog) {
    ASSERT_TRUE(start());
    Project& project = host.createProject("Empty");
    project.addTrack(ObjectKind::kAudioTrack, "Dialog");
    host.openProject(project);
    int dialogs = 0;
    host.dialogService().setDialogRunner([&](const char*, IPlugController*) {
        ++dialogs;
        return ResultOk;
    });
    IActionHandler* handler = actionHandler();
    EXPECT_EQ(handler->executeCommand("Project", kCurrentSettingsCommand, true), ResultFalse);
    EXPECT_EQ(handler->executeCommand("Project", kDialogCommand, false), ResultFalse);
    EXPECT_EQ(dialogs, 0);
}

TEST_F(AccessHandlerTest, TheDialogCommandMakesNoMarkersWhileTheDialogCannotBeConfirmed) {
    ASSERT_TRUE(start());
    host.openProject(songWithEvents());
    CommandRun run = host.runCommand(kDialogCommand);
    EXPECT_TRUE(run.available);
    EXPECT_EQ(run.result, ResultFalse);
    for (const ObjectState* track : host.state().markerTracks())
        EXPECT_TRUE(track->children.empty());
}

TEST_F(AccessHandlerTest, DefaultSettingsMakeCombinedCycleMarkersDescribedByTheEvents) {
    ASSERT_TRUE(start());
    host.openProject(songWithEvents());
    CommandRun run = host.runCommand(kCurrentSettingsCommand);
    ASSERT_EQ(run.result, ResultOk);
    ProjectState state = host.state();
    ASSERT_EQ(state.markerTracks().size(), 1u) << state.text();
    const auto& markers = state.markerTracks()[0]->children;
    ASSERT_EQ(markers.size(), 2u) << state.text();
    EXPECT_EQ(markers[0].kind, "cycle-marker");
    EXPECT_EQ(markers[0].name, "Take 1");
    EXPECT_EQ(markers[0].start, 0);
    EXPECT_EQ(markers[0].length, 3);
    EXPECT_EQ(markers[0].attributes.at("User:STR_MAComment").text, "Dialog");
    EXPECT_EQ(markers[1].name, "Boom 1");
    EXPECT_EQ(markers[1].attributes.at("User:STR_MAComment").text, "Boom");
}

TEST_F(AccessHandlerTest, TerminateRemovesEverythingItAdded) {
    ASSERT_TRUE(start());
    Project& project = songWithEvents();
    host.openProject(project);
    EXPECT_EQ(project.storageListenerCount(), 1u);
    EXPECT_TRUE(loader.stopService());
    EXPECT_TRUE(host.commands().empty());
    EXPECT_EQ(host.commandService().actionHandlerCount(), 0u);
    EXPECT_EQ(host.projectAccess().listenerCount(), 0u);
    EXPECT_EQ(project.storageListenerCount(), 0u)
        << "a project left open must not keep calling a module that is gone";
    EXPECT_EQ(host.releaseClientObjects(), 0u);
}
