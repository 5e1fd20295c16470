// The dialog command through the loaded module: the host's dialog runner plays the user on the
// module's controllers; a confirmed dialog keeps its changes, any other end restores them.

#include "module_in_host.h"
#include "support/dialog_user.h"

#include <gtest/gtest.h>
#include <string>
#include <vector>

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
    CommandRun runDialog(const std::function<void(IPlugController&)>& edit, ResultCode end) {
        selectEvents();
        host.dialogService().setDialogRunner([&](const char* name, IPlugController* dialog) {
            EXPECT_STREQ(name, "ZintaraDialog");
            EXPECT_NO_THROW(edit(*dialog));
            return end;
        });
        return host.runCommand(kDialogCommand);
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
    std::vector<ObjectState> markers() {
        const ProjectState state = host.state();
        std::vector<ObjectState> found;
        for (const ObjectState* track : state.markerTracks())
            found.insert(found.end(), track->children.begin(), track->children.end());
        return found;
    }

    /// Position markers, a new row "Free Text" -> "Reel" with a text, the second default row
    /// deleted.
    void edit(IPlugController& dialog) {
        user.parameter(dialog, "markerType").userSetValue(0);
        user.parameter(dialog, "addAttributeMapping").userSetValue(1);
        IPlugController& added = user.row(dialog, 2);
        EXPECT_EQ(user.choose(added, "selectSourceAttribute", u"Free Text"), ResultOk);
        EXPECT_EQ(user.choose(user.row(dialog, 2), "selectTargetAttribute", u"Reel"), ResultOk);
        user.parameter(user.row(dialog, 2), "freeText").userSetText(u"Take A");
        user.parameter(user.row(dialog, 1), "deleteAttribute").userSetValue(1);
    }

    Testing::DialogUser user{host.environment()};
};

} // namespace

TEST_F(DialogCommandTest, CancelRestoresEverySetting) {
    // A free text on a default row first, so that the restore has a text to keep.
    ASSERT_EQ(runDialog(
                  [&](IPlugController& dialog) {
                      user.parameter(user.row(dialog, 0), "freeText").userSetText(u"kept");
                  },
                  ResultOk)
                  .result,
              ResultOk);
    const std::string before = storedSettings();

    for (ResultCode end : {ResultFalse, ResultFailed}) {
        EXPECT_EQ(runDialog([&](IPlugController& dialog) { edit(dialog); }, end).result,
                  ResultFalse);
        EXPECT_EQ(storedSettings(), before);
    }
    std::vector<std::u16string> used;
    runDialog(
        [&](IPlugController& dialog) {
            used = user.disabledItems(user.row(dialog, 1), "selectTargetAttribute");
            EXPECT_EQ(user.parameter(user.row(dialog, 0), "freeText").text(), u"kept");
        },
        ResultFalse);
    EXPECT_EQ(used, (std::vector<std::u16string>{u"Description", u"Comment"}));
}

TEST_F(DialogCommandTest, ConfirmedSettingsMakeTheMarkersAndStay) {
    auto expectEditedMarkers = [this](const char* run) {
        const std::vector<ObjectState> made = markers();
        ASSERT_FALSE(made.empty()) << run;
        for (const ObjectState& marker : made) {
            EXPECT_EQ(marker.kind, "position-marker") << run;
            EXPECT_EQ(marker.attributes.at("User:STR_MAReel").text, "Take A") << run;
            EXPECT_EQ(marker.attributes.count("User:STR_MAComment"), 0u) << run;
        }
    };
    ASSERT_EQ(runDialog([&](IPlugController& dialog) { edit(dialog); }, ResultOk).result, ResultOk);
    expectEditedMarkers("dialog");
    ASSERT_TRUE(host.undo());
    ASSERT_TRUE(markers().empty());
    selectEvents();
    ASSERT_EQ(host.runCommand(kCurrentSettingsCommand).result, ResultOk);
    expectEditedMarkers("current settings");
}
