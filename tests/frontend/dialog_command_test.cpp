// The dialog command through the loaded module: the host's dialog runner plays the user on the
// module's controllers; a confirmed dialog keeps its changes, any other end restores them.

#include "module_in_host.h"
#include "support/dialog_user.h"

#include <gtest/gtest.h>
#include <string>

using namespace Brennovar;
using namespace Brennovar::RefHost;
using Testing::kCurrentSettingsCommand;
using Testing::kDialogCommand;

namespace {

class DialogCommandTest : public Testing::ModuleInHost {
protected:
    void SetUp() override {
        ModuleInHost::SetUp();
        ASSERT_TRUE(start()) << loader.error();
        host.openProject(songWithEvents());
    }

    /// Runs the dialog command with a user who edits the dialog and then ends it with `end`.
    ResultCode runDialog(const std::function<void(IPlugController&)>& edit, ResultCode end) {
        selectEvents();
        host.dialogService().setDialogRunner([&](const char* name, IPlugController* dialog) {
            EXPECT_STREQ(name, "ZintaraDialog");
            EXPECT_NO_THROW(edit(*dialog));
            return end;
        });
        return host.runCommand(kDialogCommand).result;
    }
    /// A run deselects what it used: select the events again.
    void selectEvents() {
        Project& project = *host.currentProject();
        for (ProjectObject* track : project.root().children())
            for (ProjectObject* object : track->children())
                if (object->kind() == ObjectKind::kAudioEvent) {
                    project.select(*object, false);
                    project.select(*object);
                }
    }
    /// The settings as the module stores them: the attributes of the project's line.
    std::string storedSettings() {
        host.storeProject();
        const std::string state = host.state().text();
        return state.substr(0, state.find('\n'));
    }
    void expectEditedMarkers(const char* run) {
        const ProjectState state = host.state();
        ASSERT_EQ(state.markerTracks().size(), 1u) << run;
        ASSERT_EQ(state.markerTracks()[0]->children.size(), 2u) << run;
        for (const ObjectState& marker : state.markerTracks()[0]->children) {
            EXPECT_EQ(marker.kind, "position-marker") << run;
            EXPECT_EQ(marker.attributes.at("User:STR_MAReel").text, "Take A") << run;
            EXPECT_EQ(marker.attributes.count("User:STR_MAComment"), 0u) << run;
        }
    }

    Testing::DialogUser user{host.environment()};
};

} // namespace

TEST_F(DialogCommandTest, ConfirmKeepsTheEditsAndAnyOtherEndRestoresThem) {
    // Position markers, a new row "Free Text" -> "Reel" with a text, the second default row
    // deleted: the run and a later current-settings run use exactly that.
    ASSERT_EQ(runDialog(
                  [this](IPlugController& dialog) {
                      user.parameter(dialog, "markerType").userSetValue(0);
                      user.parameter(dialog, "addAttributeMapping").userSetValue(1);
                      user.choose(user.row(dialog, 2), "selectSourceAttribute", u"Free Text");
                      user.choose(user.row(dialog, 2), "selectTargetAttribute", u"Reel");
                      user.parameter(user.row(dialog, 2), "freeText").userSetText(u"Take A");
                      user.parameter(user.row(dialog, 1), "deleteAttribute").userSetValue(1);
                  },
                  ResultOk),
              ResultOk);
    expectEditedMarkers("dialog");
    ASSERT_TRUE(host.undo());
    selectEvents();
    ASSERT_EQ(host.runCommand(kCurrentSettingsCommand).result, ResultOk);
    expectEditedMarkers("current settings");

    const std::string confirmed = storedSettings();
    for (ResultCode end : {ResultFalse, ResultFailed}) {
        EXPECT_EQ(runDialog(
                      [this](IPlugController& dialog) {
                          user.parameter(dialog, "markerType").userSetValue(1);
                          user.parameter(user.row(dialog, 1), "freeText").userSetText(u"gone");
                          user.choose(user.row(dialog, 1), "selectTargetAttribute", u"Comment");
                          user.parameter(user.row(dialog, 0), "deleteAttribute").userSetValue(1);
                          user.parameter(dialog, "addAttributeMapping").userSetValue(1);
                      },
                      end),
                  ResultFalse);
        EXPECT_EQ(storedSettings(), confirmed);
    }
}
