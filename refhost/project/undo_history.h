#pragma once

#include "module/funknown.h"
#include "module/tagged_value.h"

#include <cstddef>
#include <optional>
#include <string>
#include <variant>
#include <vector>

namespace Brennovar::RefHost {

class ProjectObject;

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
    struct NameChange {
        ProjectObject* object;
        std::u16string before;
        std::u16string after;
    };
    struct StartChange {
        ProjectObject* object;
        double before;
        double after;
    };
    struct LengthChange {
        ProjectObject* object;
        double before;
        double after;
    };
    /// An absent value (nullopt) means the key was not set.
    struct AttributeChange {
        ProjectObject* object;
        std::string key;
        std::optional<FTaggedValue> before;
        std::optional<FTaggedValue> after;
    };
    struct Insertion {
        ProjectObject* parent;
        ProjectObject* object;
        std::size_t index;
    };
    using Change = std::variant<NameChange, StartChange, LengthChange, AttributeChange, Insertion>;

    struct Step {
        std::u16string name;
        std::vector<Change> changes;
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
    void record(Change change, std::u16string_view stepName, bool undoable);

    bool canUndo() const noexcept { return !editOpen() && !undo_.empty(); }
    bool canRedo() const noexcept { return !editOpen() && !redo_.empty(); }
    /// False when there is nothing to undo or an edit is open.
    bool undo();
    bool redo();
    /// The name of the step undo() would revert, or empty.
    std::u16string undoName() const;
    std::u16string redoName() const;
    std::size_t undoCount() const noexcept { return undo_.size(); }
    std::size_t redoCount() const noexcept { return redo_.size(); }

    const std::vector<ClosedEdit>& closedEdits() const noexcept { return closed_; }

private:
    static void revert(const Change& change);
    static void apply(const Change& change);
    void push(Step step);

    int32 depth_ = 0;
    int32 openFlags_ = 0;
    std::vector<Change> open_;
    std::vector<Step> undo_;
    std::vector<Step> redo_;
    std::vector<ClosedEdit> closed_;
};

} // namespace Brennovar::RefHost
