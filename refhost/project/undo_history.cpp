#include "refhost/project/undo_history.h"

#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

namespace {

template <class... Handlers>
struct Visitor : Handlers... {
    using Handlers::operator()...;
};
// Spelled out for compilers without deduction for aggregates (clang before 17).
template <class... Handlers>
Visitor(Handlers...) -> Visitor<Handlers...>;

} // namespace

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
    std::vector<Change> changes;
    changes.swap(open_);
    if (!changes.empty())
        push({std::move(name), std::move(changes)});
    return true;
}

void UndoHistory::record(Change change, std::u16string_view stepName, bool undoable) {
    if (editOpen())
        open_.push_back(std::move(change));
    else if (undoable)
        push({std::u16string(stepName), {std::move(change)}});
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
    for (auto change = step.changes.rbegin(); change != step.changes.rend(); ++change)
        revert(*change);
    redo_.push_back(std::move(step));
    return true;
}

bool UndoHistory::redo() {
    if (!canRedo())
        return false;
    Step step = std::move(redo_.back());
    redo_.pop_back();
    for (const Change& change : step.changes)
        apply(change);
    undo_.push_back(std::move(step));
    return true;
}

std::u16string UndoHistory::undoName() const {
    return undo_.empty() ? std::u16string() : undo_.back().name;
}

std::u16string UndoHistory::redoName() const {
    return redo_.empty() ? std::u16string() : redo_.back().name;
}

void UndoHistory::revert(const Change& change) {
    std::visit(Visitor{
                   [](const NameChange& c) { c.object->assignName(c.before); },
                   [](const StartChange& c) { c.object->assignStart(c.before); },
                   [](const LengthChange& c) { c.object->assignLength(c.before); },
                   [](const AttributeChange& c) {
                       c.object->assignAttribute(c.key, c.before ? &*c.before : nullptr);
                   },
                   [](const Insertion& c) { c.object->detach(); },
               },
               change);
}

void UndoHistory::apply(const Change& change) {
    std::visit(Visitor{
                   [](const NameChange& c) { c.object->assignName(c.after); },
                   [](const StartChange& c) { c.object->assignStart(c.after); },
                   [](const LengthChange& c) { c.object->assignLength(c.after); },
                   [](const AttributeChange& c) {
                       c.object->assignAttribute(c.key, c.after ? &*c.after : nullptr);
                   },
                   [](const Insertion& c) { c.parent->attachChild(*c.object, c.index); },
               },
               change);
}

} // namespace Brennovar::RefHost
