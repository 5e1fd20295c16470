#pragma once

#include "refhost/dialog/dialog_runtime.h"

#include <string>
#include <string_view>
#include <vector>

namespace Brennovar::RefHost {

/// The outcome of one action of the dialog's user: done, or refused because a person could not
/// do it or because the module refused the change; the message says what happened or why not.
struct UserAction {
    bool done = false;
    std::string message;
    /// How many times the host reported the change to the module (0 when the user could not
    /// act; 2 for a press the host reported twice), and how many of those the module accepted.
    int reports = 0;
    int accepted = 0;
    /// How the host reported a press it reported twice, as the message ends with it; empty
    /// otherwise.
    std::string repeatNote = {};
};

/// What a person does in the marker dialog, done through the rendered controls only: a control
/// must be shown and enabled, a choice must be one the control offers by its displayed text.
/// Each action is followed by the host's idle, so dependent views are rebuilt before the next
/// (unless the host rebuilds late). A change the module answers with anything but ResultOk is
/// a refused action.
///
/// Rows are counted from 1 in the order the dialog shows them. A menu item is named by its
/// displayed text: a top-level item of that text first, else the one item of that text in the
/// sub-menus; or by the sub-menu's text and its own.
class DialogUser {
public:
    explicit DialogUser(DialogRuntime& runtime) : runtime_(runtime) {}

    UserAction chooseMarkerType(std::string_view choice);
    UserAction chooseTargetTrack(std::string_view choice);
    UserAction toggleCombine();
    UserAction addRow();
    UserAction chooseSource(int row, const std::vector<std::string>& item);
    UserAction chooseTarget(int row, const std::vector<std::string>& item);
    UserAction typeText(int row, std::string_view text);
    UserAction deleteRow(int row);
    /// Presses a template button: "ok" confirms (result 0), "cancel" cancels (ResultFalse).
    UserAction press(std::string_view button);

    DialogRuntime& runtime() noexcept { return runtime_; }

    /// The rows the dialog shows: the views that resolved a row controller, in order.
    std::vector<const ViewNode*> rows() const;
    /// The first shown control of that name inside `within`, or null.
    static const ViewNode* findShown(const ViewNode& within, std::string_view name);

private:
    const ViewNode* dialogControl(std::string_view name) const;
    UserAction refuseUnusable(const ViewNode* control, const std::string& what) const;
    UserAction inRow(int row, std::string_view name, const std::string& what,
                     const ViewNode*& control) const;
    UserAction chooseInMenu(const ViewNode& menu, const std::vector<std::string>& item,
                            const std::string& what);
    UserAction set(const ViewNode& control, int32 value, std::string message);
    UserAction answered(HostParameter& parameter, const std::string& parameterName,
                        ResultCode answer, bool pressed, std::string message);
    UserAction flip(std::string_view name, const std::string& what);

    DialogRuntime& runtime_;
};

} // namespace Brennovar::RefHost
