#include "refhost/dialog/dialog_user.h"

#include "refhost/controls/host_parameter.h"
#include "refhost/core/host_error.h"
#include "refhost/core/text_conversion.h"
#include "refhost/loading/module_loader.h"

namespace Brennovar::RefHost {

namespace {

UserAction refused(std::string message) {
    return {false, std::move(message)};
}

// What a marker dialog holds, to make room for at once: the rows it shows, and the views
// waiting to be visited as its tree is walked.
constexpr std::size_t kMostRows = 8;
constexpr std::size_t kMostPending = 64;

std::string quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string joined(const std::vector<std::string>& parts) {
    std::string text;
    for (const std::string& part : parts)
        text += (text.empty() ? "" : " > ") + part;
    return quoted(text);
}

void collectLeaves(const std::vector<MenuEntry>& entries, std::string_view title,
                   std::vector<const MenuEntry*>& found) {
    for (const MenuEntry& entry : entries) {
        if (entry.isSubMenu())
            collectLeaves(entry.items, title, found);
        else if (utf8(entry.title) == title)
            found.push_back(&entry);
    }
}

void collectOnSwitches(const ViewNode& node, std::vector<const ViewNode*>& found) {
    for (const auto& child : node.children) {
        if (child->type == "on-switch")
            found.push_back(child.get());
        collectOnSwitches(*child, found);
    }
}

} // namespace

UserAction DialogUser::chooseMarkerType(std::string_view choice) {
    const ViewNode* group = dialogControl("markerType");
    if (UserAction refusal = refuseUnusable(group, "the marker type"); !refusal.message.empty())
        return refusal;
    std::vector<const ViewNode*> switches;
    collectOnSwitches(*group, switches);
    for (std::size_t i = 0; i < switches.size(); ++i) {
        std::string_view title = switches[i]->attribute("title");
        if (title == choice || runtime_.translate(title) == choice)
            return set(*group, static_cast<int32>(i),
                       "marker type " + quoted(choice) + " (" + std::to_string(i) + ")");
    }
    return refused("the marker type has no choice " + quoted(choice));
}

UserAction DialogUser::chooseTargetTrack(std::string_view choice) {
    const ViewNode* menu = dialogControl("markerTargetTrackType");
    if (UserAction refusal = refuseUnusable(menu, "the target marker track menu");
        !refusal.message.empty())
        return refusal;
    const auto& strings = menu->parameter->strings();
    for (std::size_t i = 0; i < strings.size(); ++i)
        if (utf8(strings[i]) == choice)
            return set(*menu, static_cast<int32>(i),
                       "target marker track " + quoted(choice) + " (" + std::to_string(i) + ")");
    return refused("the target marker track menu has no entry " + quoted(choice));
}

UserAction DialogUser::toggleCombine() {
    return flip("combineAdjacentEvents", "the combine check box");
}

UserAction DialogUser::addRow() {
    const std::size_t before = rows().size();
    UserAction action = flip("addAttributeMapping", "the add button");
    if (!action.done && before > 0 && action.message.ends_with("is disabled"))
        action.message += " (the dialog shows " + std::to_string(before) + " rows)";
    if (!action.done)
        return action;
    const std::size_t after = rows().size();
    action.message = (after > before ? "row " + std::to_string(after) + " added"
                                     : "a row was added; the dialog shows it once it is rebuilt") +
                     action.repeatNote;
    return action;
}

UserAction DialogUser::chooseSource(int row, const std::vector<std::string>& item) {
    const ViewNode* menu = nullptr;
    const std::string what = "the source menu of row " + std::to_string(row);
    if (UserAction refusal = inRow(row, "selectSourceAttribute", what, menu);
        !refusal.message.empty())
        return refusal;
    return chooseInMenu(*menu, item, what);
}

UserAction DialogUser::chooseTarget(int row, const std::vector<std::string>& item) {
    const ViewNode* menu = nullptr;
    const std::string what = "the target menu of row " + std::to_string(row);
    if (UserAction refusal = inRow(row, "selectTargetAttribute", what, menu);
        !refusal.message.empty())
        return refusal;
    return chooseInMenu(*menu, item, what);
}

UserAction DialogUser::typeText(int row, std::string_view text) {
    const ViewNode* field = nullptr;
    const std::string what = "the text field of row " + std::to_string(row);
    if (UserAction refusal = inRow(row, "freeText", what, field); !refusal.message.empty())
        return refusal;
    std::u16string typed;
    try {
        typed = utf16(text);
    } catch (const HostError&) {
        return refused("the text for row " + std::to_string(row) + " is not valid UTF-8");
    }
    HostParameter& parameter = *field->parameter;
    // The parameter may lose every other holder while the change is handled.
    const HostHold hold(parameter);
    const std::string name = field->name;
    const ResultCode answer = parameter.userSetText(typed);
    // The module reads the text as it is told of the change; the views may go below.
    const std::size_t kept = parameter.textCutTo();
    std::string message = "row " + std::to_string(row) + " text " + quoted(text);
    if (kept)
        message += " (shortened by the module to its first " + std::to_string(kept) + " of " +
                   std::to_string(typed.size()) + " UTF-16 units)";
    UserAction action = answered(parameter, name, answer, false, std::move(message));
    runtime_.idle();
    return action;
}

UserAction DialogUser::deleteRow(int row) {
    const ViewNode* button = nullptr;
    const std::string what = "the delete button of row " + std::to_string(row);
    if (UserAction refusal = inRow(row, "deleteAttribute", what, button); !refusal.message.empty())
        return refusal;
    return set(*button, button->parameter->value() ? 0 : 1,
               "row " + std::to_string(row) + " deleted");
}

UserAction DialogUser::press(std::string_view button) {
    if (!runtime_.root() || runtime_.closed())
        return refused("the dialog is not open");
    if (button != "ok" && button != "cancel")
        return refused("there is no button " + quoted(button) + " (ok, cancel)");
    for (const auto& child : runtime_.root()->children)
        if (child->type == "button" && child->name == button) {
            runtime_.close(button == "ok" ? ResultOk : ResultFalse);
            return {true, button == "ok" ? "dialog confirmed" : "dialog cancelled"};
        }
    return refused("the dialog has no " + quoted(button) + " button");
}

std::vector<const ViewNode*> DialogUser::rows() const {
    std::vector<const ViewNode*> found;
    found.reserve(kMostRows);
    std::vector<const ViewNode*> pending;
    pending.reserve(kMostPending);
    if (runtime_.root())
        pending.push_back(runtime_.root());
    // Depth first in view order: children are pushed in reverse.
    while (!pending.empty()) {
        const ViewNode* node = pending.back();
        pending.pop_back();
        if (node->type == "controller" && node->heldController)
            found.push_back(node);
        auto shown = DialogRuntime::visibleChildren(*node);
        for (auto child = shown.rbegin(); child != shown.rend(); ++child)
            pending.push_back(child->get());
    }
    return found;
}

const ViewNode* DialogUser::findShown(const ViewNode& within, std::string_view name) {
    for (const auto& child : DialogRuntime::visibleChildren(within)) {
        if (child->name == name && child->type != "view" && child->type != "controller")
            return child.get();
        if (const ViewNode* found = findShown(*child, name))
            return found;
    }
    return nullptr;
}

const ViewNode* DialogUser::dialogControl(std::string_view name) const {
    return runtime_.root() ? findShown(*runtime_.root(), name) : nullptr;
}

UserAction DialogUser::refuseUnusable(const ViewNode* control, const std::string& what) const {
    if (!runtime_.root() || runtime_.closed())
        return refused("the dialog is not open");
    if (!control)
        return refused("the dialog does not show " + what);
    if (!control->parameter)
        return refused(what + " is bound to no parameter");
    if (!control->parameter->enabled())
        return refused(what + " is disabled");
    return {};
}

UserAction DialogUser::inRow(int row, std::string_view name, const std::string& what,
                             const ViewNode*& control) const {
    if (!runtime_.root() || runtime_.closed())
        return refused("the dialog is not open");
    std::vector<const ViewNode*> shown = rows();
    if (row < 1 || static_cast<std::size_t>(row) > shown.size())
        return refused("there is no row " + std::to_string(row) + " (the dialog shows " +
                       std::to_string(shown.size()) + ")");
    control = findShown(*shown[static_cast<std::size_t>(row - 1)], name);
    return refuseUnusable(control, what);
}

UserAction DialogUser::chooseInMenu(const ViewNode& menu, const std::vector<std::string>& item,
                                    const std::string& what) {
    if (item.empty() || item.size() > 2)
        return refused(what + ": name an item by its text, or by its sub-menu's and its own");
    runtime_.updateMenu(menu);
    const std::vector<MenuEntry> entries = menu.parameter->menuEntries();
    const std::vector<MenuEntry>* within = &entries;
    if (item.size() == 2) {
        within = nullptr;
        for (const MenuEntry& entry : entries)
            if (entry.isSubMenu() && utf8(entry.title) == item[0])
                within = &entry.items;
        if (!within)
            return refused(what + " has no sub-menu " + quoted(item[0]));
    }
    std::vector<const MenuEntry*> found;
    // A text alone names the top-level item a person sees first, else the item in a sub-menu.
    if (item.size() == 1)
        for (const MenuEntry& entry : entries)
            if (!entry.isSubMenu() && utf8(entry.title) == item.back())
                found.push_back(&entry);
    if (found.empty())
        collectLeaves(*within, item.back(), found);
    if (found.empty())
        return refused(what + " has no item " + joined(item));
    if (found.size() > 1)
        return refused(what + " has " + std::to_string(found.size()) + " items " + joined(item) +
                       ": name the sub-menu too");
    if (!found.front()->enabled)
        return refused("the item " + joined(item) + " is disabled in " + what);
    return set(menu, found.front()->number, what + ": " + joined(item));
}

UserAction DialogUser::set(const ViewNode& control, int32 value, std::string message) {
    // The view may be rebuilt while the change is handled: nothing of it is used afterwards.
    HostParameter& parameter = *control.parameter;
    // The parameter may lose every other holder while the change is handled.
    const HostHold hold(parameter);
    const bool pressed = control.type == "push-switch";
    const std::string name = control.name;
    const ResultCode answer = parameter.userSetValue(value);
    UserAction action = answered(parameter, name, answer, pressed, std::move(message));
    runtime_.idle();
    return action;
}

UserAction DialogUser::answered(HostParameter& parameter, const std::string& parameterName,
                                ResultCode answer, bool pressed, std::string message) {
    UserAction action{answer == ResultOk, std::move(message), 1, answer == ResultOk ? 1 : 0};
    if (!action.done)
        action.message = "the module refused the change of \"" + parameterName + "\" (" +
                         resultText(answer) + ")";
    // A second report reaches the controller the parameter is connected to now, if any.
    if (pressed && parameter.controller() && runtime_.reportsPressTwice()) {
        // The same press again, before the host rebuilt anything.
        const ResultCode again = parameter.userSetValue(parameter.value());
        ++action.reports;
        action.accepted += again == ResultOk ? 1 : 0;
        action.repeatNote = again == ResultOk
                                ? "; the host reported the press twice and the module took both"
                                : "; the host reported the press twice and the module refused "
                                  "the second (" +
                                      resultText(again) + ")";
        action.message += action.repeatNote;
    }
    return action;
}

UserAction DialogUser::flip(std::string_view name, const std::string& what) {
    const ViewNode* control = dialogControl(name);
    if (UserAction refusal = refuseUnusable(control, what); !refusal.message.empty())
        return refusal;
    return set(*control, control->parameter->value() ? 0 : 1,
               std::string(name) + " = " + (control->parameter->value() ? "0" : "1"));
}

} // namespace Brennovar::RefHost
