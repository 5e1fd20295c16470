#include "frontend/module_in_host.h"
#include "refhost/core/text_conversion.h"
#include "refhost/dialog/dialog_user.h"
#include "refhost/dialog/host_parameter.h"

#include <algorithm>
#include <optional>
#include <random>
#include <set>

namespace Brennovar::Testing {
namespace {

using RefHost::DialogRuntime;
using RefHost::DialogUser;
using RefHost::MenuEntry;
using RefHost::ViewNode;

// Fixed in CI; ZINTARA_RANDOM_SEED replays another run.
constexpr unsigned kDefaultSeed = 20261206;
constexpr int kDialogs = 8;
constexpr int kActionsPerDialog = 250;

struct Row {
    std::string source = "-";
    std::string target = "-";
    // Known once typed; until then the row holds whatever text it had.
    std::optional<std::string> text;
    bool operator==(const Row&) const = default;
    friend void PrintTo(const Row& row, std::ostream* out) {
        *out << row.source << " -> " << row.target << " " << row.text.value_or("(unknown)");
    }
};

struct Item {
    std::vector<std::string> path;
    bool enabled = true;
};

void flatten(const std::vector<MenuEntry>& entries, const std::string& within,
             std::vector<Item>& items) {
    for (const MenuEntry& entry : entries) {
        if (entry.isSubMenu())
            flatten(entry.items, RefHost::utf8(entry.title), items);
        else if (within.empty())
            items.push_back({{RefHost::utf8(entry.title)}, entry.enabled});
        else
            items.push_back({{within, RefHost::utf8(entry.title)}, entry.enabled});
    }
}

std::string shownTitle(const std::vector<MenuEntry>& entries, int32 number) {
    for (const MenuEntry& entry : entries) {
        if (!entry.isSubMenu() && entry.number == number)
            return RefHost::utf8(entry.title);
        if (std::string found = shownTitle(entry.items, number); !found.empty())
            return found;
    }
    return {};
}

RefHost::HostParameter& control(const ViewNode& row, const char* name) {
    const ViewNode* found = DialogUser::findShown(row, name);
    if (!found || !found->parameter)
        throw std::runtime_error(std::string("row without ") + name);
    return *found->parameter;
}

/// A row as the dialog shows it, its text read when it is a free-text row.
Row shownRow(const ViewNode& row) {
    RefHost::HostParameter& source = control(row, "selectSourceAttribute");
    RefHost::HostParameter& target = control(row, "selectTargetAttribute");
    Row shown{shownTitle(source.menuEntries(), source.value()),
              shownTitle(target.menuEntries(), target.value()), std::nullopt};
    if (control(row, "toggleFreeText").value() == 1)
        shown.text = RefHost::utf8(control(row, "freeText").text());
    return shown;
}

std::vector<Row> rowsShown(DialogRuntime& runtime) {
    std::vector<Row> rows;
    for (const ViewNode* row : DialogUser(runtime).rows())
        rows.push_back(shownRow(*row));
    return rows;
}

/// Works a dialog at random and checks after each action that what the dialog shows is what
/// the actions meant.
class RandomUser {
public:
    RandomUser(DialogRuntime& runtime, std::mt19937& random)
        : user_(runtime), random_(random), rows_(rowsShown(runtime)) {}

    void play() {
        check(true);
        for (int action = 0; action < kActionsPerDialog && !::testing::Test::HasFailure();
             ++action) {
            act();
            check(pick(8) == 0);
        }
    }

private:
    int pick(std::size_t count) {
        return static_cast<int>(std::uniform_int_distribution<std::size_t>(0, count - 1)(random_));
    }

    std::vector<Item> items(int row, const char* menu) {
        const ViewNode* found = DialogUser::findShown(*user_.rows().at(row - 1), menu);
        user_.runtime().updateMenu(*found);
        std::vector<Item> result;
        flatten(found->parameter->menuEntries(), "", result);
        return result;
    }
    const Item& anyItem(int row, const char* menu) {
        menuItems_ = items(row, menu);
        return menuItems_[static_cast<std::size_t>(pick(menuItems_.size()))];
    }

    std::set<std::string> usedTargets() const {
        std::set<std::string> used;
        for (const Row& row : rows_)
            if (row.target != "-")
                used.insert(row.target);
        return used;
    }

    void act() {
        const int count = static_cast<int>(rows_.size());
        const int row = 1 + pick(rows_.size() + 1);
        const bool exists = row <= count;
        RefHost::UserAction action;
        bool possible = true;
        switch (pick(7)) {
        case 0:
            possible = count < 8;
            action = user_.addRow();
            if (possible)
                rows_.emplace_back();
            break;
        case 1:
            possible = exists;
            action = user_.deleteRow(row);
            if (possible)
                rows_.erase(rows_.begin() + row - 1);
            break;
        case 2: {
            if (!exists)
                return;
            const Item& item = anyItem(row, "selectSourceAttribute");
            action = user_.chooseSource(row, item.path);
            rows_[row - 1].source = item.path.back();
            rows_[row - 1].text.reset();
            break;
        }
        case 3: {
            if (!exists)
                return;
            const Item& item = anyItem(row, "selectTargetAttribute");
            EXPECT_EQ(item.enabled, !usedTargets().contains(item.path.back())) << item.path.back();
            possible = item.enabled;
            action = user_.chooseTarget(row, item.path);
            if (possible)
                rows_[row - 1].target = item.path.back();
            break;
        }
        case 4: {
            possible = exists && rows_[row - 1].source == "Free Text";
            const std::string text = "text " + std::to_string(pick(1000));
            action = user_.typeText(row, text);
            if (possible)
                rows_[row - 1].text = text;
            break;
        }
        case 5:
            action = user_.chooseMarkerType(pick(2) ? "Position" : "Cycle");
            break;
        default:
            action = pick(2) ? user_.toggleCombine() : user_.chooseTargetTrack("New Marker Track");
            break;
        }
        EXPECT_EQ(action.done, possible) << action.message;
    }

    void check(bool menus) {
        std::vector<const ViewNode*> shown = user_.rows();
        ASSERT_EQ(shown.size(), rows_.size());
        for (std::size_t i = 0; i < shown.size(); ++i) {
            EXPECT_EQ(shown[i]->name, "AttributeMappingViewController" + std::to_string(i));
            const Row seen = shownRow(*shown[i]);
            Row expected = rows_[i];
            if (!expected.text && expected.source == "Free Text")
                expected.text = seen.text.value_or(""); // a free-text row shows its field
            EXPECT_EQ(seen, expected) << "row " << i + 1;
        }
        const ViewNode* add = DialogUser::findShown(*user_.runtime().root(), "addAttributeMapping");
        EXPECT_EQ(add->parameter->enabled(), rows_.size() < 8);
        if (!menus || rows_.empty())
            return;
        // The used flags: every target menu disables exactly the targets the rows use.
        const int row = 1 + pick(rows_.size());
        std::set<std::string> disabled;
        for (const Item& item : items(row, "selectTargetAttribute"))
            if (!item.enabled)
                disabled.insert(item.path.back());
        EXPECT_EQ(disabled, usedTargets()) << "row " << row;
    }

    DialogUser user_;
    std::mt19937& random_;
    std::vector<Row> rows_;
    std::vector<Item> menuItems_;
};

class DialogRandomTest : public ModuleInHost {};

TEST_F(DialogRandomTest, RandomActionsKeepRowsControllersAndMenusInStepWithTheModel) {
    const char* replay = std::getenv("ZINTARA_RANDOM_SEED");
    const unsigned seed = replay ? static_cast<unsigned>(std::stoul(replay)) : kDefaultSeed;
    SCOPED_TRACE("seed " + std::to_string(seed) +
                 " (replay with ZINTARA_RANDOM_SEED=" + std::to_string(seed) + ")");
    std::mt19937 random(seed);
    ASSERT_TRUE(start());
    host.openProject(songWithEvents());

    // What was confirmed last is what opens again: a cancelled dialog left rows, targets and
    // free texts exactly as they were.
    std::optional<std::vector<Row>> confirmed;
    host.dialogService().setDialogDriver([&](DialogRuntime& runtime) {
        if (confirmed) {
            EXPECT_EQ(rowsShown(runtime), *confirmed);
        } else {
            confirmed = rowsShown(runtime);
        }
        RandomUser(runtime, random).play();
        const bool confirm = std::uniform_int_distribution<int>(0, 1)(random) == 1;
        if (confirm)
            confirmed = rowsShown(runtime);
        DialogUser(runtime).press(confirm ? "ok" : "cancel");
    });
    for (int dialog = 0; dialog < kDialogs && !HasFailure(); ++dialog) {
        // Each confirmed dialog makes markers, which deselects the events: select them again.
        for (RefHost::ProjectObject* object : host.currentProject()->root().children())
            for (RefHost::ProjectObject* event : object->children())
                if (event->kind() == RefHost::ObjectKind::kAudioEvent)
                    host.currentProject()->select(*event);
        host.runCommand(kDialogCommand, "Project");
    }
    host.dialogService().setDialogDriver(nullptr);
    // Every controller is gone with its parameters and menus: no host object of the dialog is
    // still referenced (the module's services are).
    for (const RefHost::ReferenceEntry& leak : host.references().leaks)
        EXPECT_EQ(leak.object.find("parameter"), std::string::npos) << leak.object;
}

} // namespace
} // namespace Brennovar::Testing
