#include "refhost/project/undo_history.h"

namespace Brennovar::RefHost {

void UndoHistory::beginEdit(int32 flags) {
    if (depth_ == 0)
        openFlags_ = flags;
    ++depth_;
}

bool UndoHistory::endEdit(std::u16string name) {
    if (depth_ == 0)
        return false;
    if (--depth_ > 0)
        return true;
    closed_.push_back({name, openFlags_, open_.size()});
    ChangeLog changes = std::exchange(open_, ChangeLog());
    if (!changes.empty())
        push({std::move(name), std::move(changes)});
    return true;
}

void UndoHistory::push(Step step) {
    undo_.push_back(std::move(step));
    redo_.clear();
}

bool UndoHistory::undo() {
    if (!canUndo())
        return false;
    Step step = std::move(undo_.back());
    undo_.pop_back();
    step.changes.revert();
    redo_.push_back(std::move(step));
    return true;
}

bool UndoHistory::redo() {
    if (!canRedo())
        return false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    step.changes.apply();
    undo_.push_back(std::move(step));
    return true;
}

std::u16string UndoHistory::undoName() const {
    return undo_.empty() ? std::u16string() : undo_.back().name;
}

} // namespace Brennovar::RefHost
