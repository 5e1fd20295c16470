#pragma once

#include <cstddef>
#include <vector>

namespace Brennovar::RefHost {

class ProjectObject;

/// The selected objects of a project in the order they were selected. Selecting an object that
/// is already selected keeps its place.
class SelectionList {
public:
    /// Appends the object and sets its selected flag (no change when already selected).
    void add(ProjectObject& object);
    /// Removes the object and clears its selected flag (no change when not selected).
    void remove(ProjectObject& object);
    void clear();

    std::size_t size() const noexcept { return objects_.size(); }
    ProjectObject* at(std::size_t index) const noexcept {
        return index < objects_.size() ? objects_[index] : nullptr;
    }
    const std::vector<ProjectObject*>& objects() const noexcept { return objects_; }

private:
    std::vector<ProjectObject*> objects_;
};

} // namespace Brennovar::RefHost
