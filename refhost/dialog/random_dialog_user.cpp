#include "refhost/dialog/random_dialog_user.h"

#include "refhost/controls/host_parameter.h"
#include "refhost/core/text_conversion.h"

#include <algorithm>
#include <stdexcept>

namespace Brennovar::RefHost {

namespace {

constexpr std::size_t kRowLimit = 8;
constexpr const char* kRowController = "AttributeMappingViewController";

std::string shownTitle(const std::vector<MenuEntry>& entries, int32 number) {
    for (const MenuEntry& entry : entries) {
        if (!entry.isSubMenu() && entry.number == number)
            return utf8(entry.title);
        if (std::string found = shownTitle(entry.items, number); !found.empty())
            return found;
    }
    return {};
}

HostParameter& control(const ViewNode& row, const char* name) {
    const ViewNode* found = DialogUser::findShown(row, name);
    if (!found || !found->parameter)
        throw std::runtime_error(std::string("a row shows no \"") + name + "\"");
    return *found->parameter;
}

ShownRow shownRow(const ViewNode& row) {
    HostParameter& source = control(row, "selectSourceAttribute");
    HostParameter& target = control(row, "selectTargetAttribute");
    ShownRow shown{shownTitle(source.menuEntries(), source.value()),
                   shownTitle(target.menuEntries(), target.value()), std::nullopt};
    if (control(row, "toggleFreeText").value() == 1)
        shown.text = utf8(control(row, "freeText").text());
    return shown;
}

std::string describe(const ShownRow& row) {
    return row.source + " -> " + row.target + (row.text ? " \"" + *row.text + "\"" : "");
}

} // namespace

RandomDialogUser::RandomDialogUser(DialogRuntime& runtime, std::mt19937_64& random)
    : user_(runtime), random_(random) {
    try {
        for (ShownRow& row : rowsShown(runtime)) {
            rows_.push_back({nextId_, std::move(row)});
            shownIds_.push_back(nextId_++);
        }
    } catch (const std::exception& error) {
        problem(error.what());
    }
}

std::vector<ShownRow> RandomDialogUser::rowsShown(DialogRuntime& runtime) {
    std::vector<ShownRow> rows;
    for (const ViewNode* row : DialogUser(runtime).rows())
        rows.push_back(shownRow(*row));
    return rows;
}

void RandomDialogUser::play(int actions) {
    check(true);
    for (int action = 0; action < actions && problems_.empty(); ++action) {
        try {
            act();
            check(pick(8) == 0);
        } catch (const std::exception& error) {
            problem(error.what());
        }
    }
}

std::size_t RandomDialogUser::pick(std::size_t count) {
    return static_cast<std::size_t>(random_() % count);
}

void RandomDialogUser::problem(std::string text) {
    problems_.push_back(std::move(text));
}

std::vector<RandomDialogUser::Item> RandomDialogUser::items(int row, const char* menu) {
    const ViewNode* found = DialogUser::findShown(*user_.rows().at(row - 1), menu);
    if (!found || !found->parameter)
        throw std::runtime_error("row " + std::to_string(row) + " shows no " + menu);
    user_.runtime().updateMenu(*found);
    std::vector<Item> result;
    for (const MenuEntry& entry : found->parameter->menuEntries()) {
        if (!entry.isSubMenu()) {
            result.push_back({{utf8(entry.title)}, entry.enabled});
            continue;
        }
        for (const MenuEntry& inner : entry.items)
            result.push_back({{utf8(entry.title), utf8(inner.title)}, inner.enabled});
    }
    return result;
}

std::vector<std::string> RandomDialogUser::usedTargets() const {
    std::vector<std::string> used;
    for (const ExpectedRow& row : rows_)
        if (row.row.target != "-")
            used.push_back(row.row.target);
    std::sort(used.begin(), used.end());
    return used;
}

RandomDialogUser::ExpectedRow* RandomDialogUser::expectedFor(int row) {
    const int id = shownIds_.at(static_cast<std::size_t>(row - 1));
    auto found = std::find_if(rows_.begin(), rows_.end(),
                              [id](const ExpectedRow& expected) { return expected.id == id; });
    return found == rows_.end() ? nullptr : &*found;
}

void RandomDialogUser::act() {
    const bool stale = user_.runtime().rebuildPending();
    switch (pick(7)) {
    case 0: {
        const std::size_t before = rows_.size();
        const UserAction action = user_.addRow();
        if (action.done != (before < kRowLimit))
            problem("add a row with " + std::to_string(before) + " rows: " + action.message);
        if (before + static_cast<std::size_t>(action.accepted) > kRowLimit)
            problem("the dialog took more than " + std::to_string(kRowLimit) +
                    " rows: " + action.message);
        for (int i = 0; i < action.accepted; ++i)
            rows_.push_back({nextId_++, {}});
        break;
    }
    case 1:
    case 2:
    case 3:
    case 4:
        actOnRow(1 + static_cast<int>(pick(shownIds_.size() + 1)), stale);
        break;
    case 5:
        user_.chooseMarkerType(pick(2) ? "Position" : "Cycle");
        break;
    default:
        if (pick(2))
            user_.toggleCombine();
        else
            user_.chooseTargetTrack("New Marker Track");
        break;
    }
    if (!user_.runtime().rebuildPending()) {
        shownIds_.clear();
        for (const ExpectedRow& row : rows_)
            shownIds_.push_back(row.id);
    }
}

void RandomDialogUser::actOnRow(int row, bool stale) {
    const bool shown = static_cast<std::size_t>(row) <= shownIds_.size();
    ExpectedRow* expected = shown ? expectedFor(row) : nullptr;
    const std::string what = "row " + std::to_string(row) + (stale ? " of an older build" : "");
    switch (pick(4)) {
    case 0: {
        const UserAction action = user_.deleteRow(row);
        answer(action, stale, shown, "delete " + what);
        if (action.accepted > 1)
            problem("one press deleted two rows: " + action.message);
        if (action.accepted > 0 && expected)
            rows_.erase(rows_.begin() + (expected - rows_.data()));
        else if (action.accepted > 0)
            problem("delete " + what + " deleted a row the user did not click: " + action.message);
        return;
    }
    case 1: {
        if (!shown)
            return;
        const std::vector<Item> offered = items(row, "selectSourceAttribute");
        const Item& item = offered[pick(offered.size())];
        const UserAction action = user_.chooseSource(row, item.path);
        answer(action, stale, true, "choose a source in " + what);
        if (action.accepted > 0 && expected) {
            expected->row.source = item.path.back();
            expected->row.text.reset();
        }
        return;
    }
    case 2: {
        if (!shown)
            return;
        const std::vector<Item> offered = items(row, "selectTargetAttribute");
        const Item& item = offered[pick(offered.size())];
        const std::vector<std::string> used = usedTargets();
        if (item.enabled == std::binary_search(used.begin(), used.end(), item.path.back()))
            problem("the target menu of " + what + " shows \"" + item.path.back() + "\" " +
                    (item.enabled ? "enabled although a row uses it"
                                  : "disabled although no row uses it"));
        const UserAction action = user_.chooseTarget(row, item.path);
        answer(action, stale, item.enabled, "choose a target in " + what);
        if (action.accepted > 0 && expected)
            expected->row.target = item.path.back();
        return;
    }
    default: {
        const std::string text = "text " + std::to_string(pick(1000));
        const UserAction action = user_.typeText(row, text);
        answer(action, stale, expected && expected->row.source == "Free Text", "type in " + what);
        if (action.accepted > 0 && expected)
            expected->row.text = text;
        return;
    }
    }
}

void RandomDialogUser::answer(const UserAction& action, bool stale, bool possible,
                              const std::string& what) {
    if (action.reports == 0) {
        // On an up-to-date view the user is refused exactly what cannot be done.
        if (!stale && possible)
            problem(what + " was refused: " + action.message);
    } else if (stale && action.accepted > 0) {
        problem(what + ": the module took a change from a row controller of an older build (" +
                action.message + ")");
    } else if (!stale && possible && !action.done) {
        problem(what + ": the module refused a change of a row the dialog shows (" +
                action.message + ")");
    } else if (!stale && !possible && action.done) {
        problem(what + " was done although it cannot be (" + action.message + ")");
    }
}

void RandomDialogUser::check(bool menus) {
    const std::vector<const ViewNode*> shown = user_.rows();
    const ViewNode* add = DialogUser::findShown(*user_.runtime().root(), "addAttributeMapping");
    if (!add || !add->parameter || add->parameter->enabled() != (rows_.size() < kRowLimit))
        problem("\"Add Mapping\" is not enabled exactly below " + std::to_string(kRowLimit) +
                " rows (" + std::to_string(rows_.size()) + " rows)");
    if (user_.runtime().rebuildPending()) {
        if (shown.size() != shownIds_.size())
            problem("the dialog shows " + std::to_string(shown.size()) + " rows of its last " +
                    "build, which had " + std::to_string(shownIds_.size()));
        return;
    }
    if (shown.size() != rows_.size()) {
        problem("the dialog shows " + std::to_string(shown.size()) + " rows, expected " +
                std::to_string(rows_.size()));
        return;
    }
    for (std::size_t i = 0; i < shown.size(); ++i) {
        if (shown[i]->name != kRowController + std::to_string(i))
            problem("row " + std::to_string(i + 1) + " is controlled by " + shown[i]->name);
        const ShownRow seen = shownRow(*shown[i]);
        ShownRow expected = rows_[i].row;
        // A free-text row shows its text even before the user typed one.
        if (!expected.text && expected.source == "Free Text")
            expected.text = seen.text.value_or("");
        if (seen != expected)
            problem("row " + std::to_string(i + 1) + " shows " + describe(seen) + ", expected " +
                    describe(expected));
    }
    if (!menus || rows_.empty())
        return;
    // The used flags: every target menu disables exactly the targets the rows use.
    const int row = 1 + static_cast<int>(pick(rows_.size()));
    std::vector<std::string> disabled;
    for (const Item& item : items(row, "selectTargetAttribute"))
        if (!item.enabled)
            disabled.push_back(item.path.back());
    std::sort(disabled.begin(), disabled.end());
    if (disabled != usedTargets())
        problem("the target menu of row " + std::to_string(row) +
                " does not disable exactly the targets the rows use");
}

} // namespace Brennovar::RefHost
