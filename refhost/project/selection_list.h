#pragma once

#include <cstddef>
#include <vector>

namespace Brennovar::RefHost {

class ProjectObject;

/// The selected objects of a project in the order they were selected. Selecting an object that
/// is already selected keeps its place. Adding and removing take constant time (a removed
/// object leaves a gap that the next read in order closes), so deselecting a large selection
/// one object at a time stays linear.
class SelectionList {
public:
    /// Appends the object and sets its selected flag (no change when already selected).
    void add(ProjectObject& object);
    /// Removes the object and clears its selected flag (no change when not selected).
    void remove(ProjectObject& object);

    std::size_t size() const noexcept { return count_; }
    ProjectObject* at(std::size_t index) const noexcept {
        closeGaps();
        return index < slots_.size() ? slots_[index] : nullptr;
    }
    const std::vector<ProjectObject*>& objects() const noexcept {
        closeGaps();
        return slots_;
    }

private:
    void closeGaps() const noexcept;

    // Selection order with null gaps for removed objects; each selected object knows its slot.
    mutable std::vector<ProjectObject*> slots_;
    std::size_t count_ = 0;
};

} // namespace Brennovar::RefHost
