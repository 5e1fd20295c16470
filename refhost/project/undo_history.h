#pragma once

#include "module/funknown.h"
#include "refhost/project/change_log.h"

#include <cstddef>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

/// A project's undo history, kept as a log of changes rather than copies of the project, so its
/// cost grows with what was changed, not with the size of the project.
///
/// An edit (beginEdit ... endEdit) gathers every change made while it is open into one undo step
/// with the name given at endEdit. Nested beginEdit calls join the outer edit; only the
/// outermost endEdit closes it. An edit that changed nothing leaves no undo step, but is still
/// listed in closedEdits(). Undo reverts a step's changes in reverse order, which restores the
/// project exactly as it was when the edit began; redo applies them again in order. A new step
/// clears what could be redone. Undo and redo are refused while an edit is open.
class UndoHistory {
public:
    using NameChange = ChangeLog::NameChange;
    using StartChange = ChangeLog::StartChange;
    using LengthChange = ChangeLog::LengthChange;
    using AttributeChange = ChangeLog::AttributeChange;
    using Insertion = ChangeLog::Insertion;

    struct Step {
        std::u16string name;
        ChangeLog changes;
    };
    /// What a closed edit was: its undo name, the flags of its beginEdit and its change count.
    struct ClosedEdit {
        std::u16string name;
        int32 flags = 0;
        std::size_t changes = 0;
    };

    UndoHistory() = default;
    UndoHistory(const UndoHistory&) = delete;
    UndoHistory& operator=(const UndoHistory&) = delete;

    /// Opens an edit, or joins the one that is open.
    void beginEdit(int32 flags);
    /// Closes the outermost edit under the name. False when no edit is open.
    bool endEdit(std::u16string name);
    bool editOpen() const noexcept { return depth_ > 0; }

    /// Records a change that has just been applied: into the open edit, or (when `undoable`) as
    /// a step of its own named stepName. Changes outside an edit that are not undoable are not
    /// recorded, and do not clear the redo list.
    template <class Change>
    void record(Change&& change, std::u16string_view stepName, bool undoable) {
        if (editOpen()) {
            open_.add(std::forward<Change>(change));
        } else if (undoable) {
            ChangeLog single;
            single.add(std::forward<Change>(change));
            push({std::u16string(stepName), std::move(single)});
        }
    }

    bool canUndo() const noexcept { return !editOpen() && !undo_.empty(); }
    bool canRedo() const noexcept { return !editOpen() && !redo_.empty(); }
    /// False when there is nothing to undo or an edit is open.
    bool undo();
    bool redo();
    /// The name of the step undo() would revert, or empty.
    std::u16string undoName() const;
    std::size_t undoCount() const noexcept { return undo_.size(); }

    const std::vector<ClosedEdit>& closedEdits() const noexcept { return closed_; }

private:
    void push(Step step);

    int32 depth_ = 0;
    int32 openFlags_ = 0;
    ChangeLog open_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    std::vector<ClosedEdit> closed_;
};

} // namespace Brennovar::RefHost
