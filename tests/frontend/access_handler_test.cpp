// The service object's registration and commands, through the module loaded into the reference
// host.

#include "host/i_command_registry.h"
#include "host/i_dialog_service.h"
#include "host/i_project.h"
#include "host/i_translation_service.h"
#include "module_in_host.h"
#include "refhost/files/settings_file.h"

#include <gtest/gtest.h>
#include <tuple>

using namespace Brennovar;
using namespace Brennovar::RefHost;
using Testing::kCurrentSettingsCommand;
using Testing::kDialogCommand;

using AccessHandlerTest = Testing::ModuleInHost;

TEST_F(AccessHandlerTest, InitializeRegistersEverythingInOrder) {
    host.translationService().setLanguage("de");
    // The host translates the first title; the module's own table has no entry for either.
    const char document[] = "\xEF\xBB\xBF<Translation><StringTable><String Key=\"Create Markers "
                            "from Selected Events...\"><de>Marker erzeugen...</de></String>"
                            "</StringTable></Translation>";
    ASSERT_EQ(host.translationService().loadFromMemory(document, sizeof document - 1, nullptr),
              ResultOk);
    ASSERT_TRUE(start()) << loader.error();
    ASSERT_EQ(host.dialogService().skins().size(), 1u);
    EXPECT_TRUE(host.dialogService().skins()[0].accepted);
    ASSERT_EQ(host.translationService().requests().size(), 1u);
    EXPECT_EQ(host.translationService().requests()[0].resourceName, u"translation.xml");
    EXPECT_EQ(host.translationService().requests()[0].result, 0);

    ASSERT_EQ(host.commands().size(), 2u);
    const Command& dialog = host.commands()[0];
    const Command& current = host.commands()[1];
    EXPECT_EQ(std::tie(dialog.category, dialog.displayCategory, dialog.flags, dialog.name),
              std::make_tuple("Project", "Project", 2, kDialogCommand));
    EXPECT_EQ(current.name, kCurrentSettingsCommand);
    EXPECT_EQ(dialog.title, u"Marker erzeugen...");
    EXPECT_EQ(current.title, u"Create Markers from Selected Events (with Current Settings)");
    EXPECT_EQ(host.commandService().actionHandlerCount(), 1u);
    EXPECT_EQ(host.projectAccess().listenerCount(), 1u);
    // A second initialize gives back the first provider: the fixture's end checks that every
    // reference the module obtained came back.
    EXPECT_EQ(loader.queryService<IPluginBase>()->initialize(host.context()), ResultOk);
}

// Each case loads the module on its own: the host object provider is module-wide. A missing step
// before the commands stops initialize; missing registries, or titles the host cannot translate
// because it gives no second translation service, are skipped.
TEST(AccessHandlerStartTest, MissingStepsStopInitializeOrAreSkipped) {
    const struct {
        const char* what;
        void (*fault)(FaultPlan&);
        bool starts;
        std::size_t skins, translationRequests, handlers, listeners;
    } cases[] = {
        {"no dialog service", [](FaultPlan& f) { f.missService(IDialogService::iid); }, false, 0, 0,
         0, 0},
        {"refused skin", [](FaultPlan& f) { f.refuseSkin = true; }, false, 1, 0, 0, 0},
        {"no translation service", [](FaultPlan& f) { f.missService(ITranslationService::iid); },
         false, 1, 0, 0, 0},
        {"failed translations", [](FaultPlan& f) { f.failLoadTranslations = true; }, false, 1, 1, 0,
         0},
        // The fourth request of initialize is the translation service asked for the titles.
        {"no second translation service", [](FaultPlan& f) { f.failGetObjectAfter = 4; }, true, 1,
         1, 1, 1},
        {"no registries",
         [](FaultPlan& f) {
             f.missService(ICommandRegistry::iid);
             f.missService(IActionHandlerRegistry::iid);
             f.missService(IProjectAccess::iid);
         },
         true, 1, 1, 0, 0},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        Host fresh;
        c.fault(fresh.faults());
        ModuleLoader module;
        ASSERT_TRUE(module.load(std::getenv("ZINTARA_MODULE"))) << module.error();
        EXPECT_EQ(module.startService(fresh.context()), c.starts) << module.error();
        EXPECT_EQ(fresh.dialogService().skins().size(), c.skins);
        EXPECT_EQ(fresh.translationService().requests().size(), c.translationRequests);
        EXPECT_TRUE(fresh.commands().empty());
        EXPECT_EQ(fresh.commandService().actionHandlerCount(), c.handlers);
        EXPECT_EQ(fresh.projectAccess().listenerCount(), c.listeners);
        EXPECT_TRUE(module.unload()) << module.error();
        EXPECT_EQ(fresh.commandService().actionHandlerCount(), 0u);
        EXPECT_EQ(fresh.projectAccess().listenerCount(), 0u);
        fresh.releaseClientObjects();
        EXPECT_TRUE(fresh.references().clean()) << fresh.references().text();
    }
}

TEST_F(AccessHandlerTest, CheckOnlyAnswersWithoutMakingMarkersAndNothingSelectedRunsNothing) {
    ASSERT_TRUE(start());
    Project& project = songWithEvents();
    host.openProject(project);
    ProjectState before = host.state();
    IActionHandler* handler = actionHandler();
    EXPECT_EQ(handler->executeCommand("Project", kCurrentSettingsCommand, true), ResultOk);
    EXPECT_EQ(handler->executeCommand("Project", kDialogCommand, true), ResultOk);

    for (const char* name : {kCurrentSettingsCommand, kDialogCommand}) {
        EXPECT_EQ(handler->executeCommand("project", name, true), ResultFalse);
        EXPECT_EQ(handler->executeCommand(nullptr, name, false), ResultFalse);
        EXPECT_EQ(handler->executeCommand("Project ", name, false), ResultFalse);
    }
    EXPECT_EQ(handler->executeCommand("Project", nullptr, false), ResultFalse);
    EXPECT_EQ(handler->executeCommand("Project", "Create Markers", false), ResultFalse);
    EXPECT_EQ(describeDifference(before, host.state()), "");

    for (ProjectObject* track : project.root().children())
        for (ProjectObject* event : track->children())
            project.select(*event, false);
    int dialogs = 0;
    host.dialogService().setDialogRunner([&](const char*, IPlugController*) {
        ++dialogs;
        return ResultOk;
    });
    EXPECT_EQ(handler->executeCommand("Project", kCurrentSettingsCommand, true), ResultFalse);
    EXPECT_EQ(handler->executeCommand("Project", kDialogCommand, false), ResultFalse);
    EXPECT_EQ(dialogs, 0);
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

TEST_F(AccessHandlerTest, AProjectWithoutSettingsRunsWithThoseOfThePreviousProject) {
    ASSERT_TRUE(start());
    Project& stored = host.createProject("Stored");
    SettingsFile::applyText(R"({"markerType": "position", "combineAdjacent": false,
        "mappings": [{"source": "EventName", "target": "MarkerDescription"}]})",
                            "settings.json", stored);
    host.openProject(stored);
    host.openProject(songWithEvents());
    ASSERT_EQ(host.runCommand(kCurrentSettingsCommand).result, ResultOk);
    const ProjectState state = host.state();
    ASSERT_EQ(state.markerTracks().size(), 1u);
    const auto& markers = state.markerTracks()[0]->children;
    ASSERT_EQ(markers.size(), 3u) << "combining is off";
    EXPECT_EQ(markers[0].kind, "position-marker");
    EXPECT_EQ(markers[0].name, "Take 1");
    EXPECT_TRUE(markers[0].attributes.empty()) << "only the stored row is applied";
}
