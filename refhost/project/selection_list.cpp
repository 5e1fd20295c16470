#include "refhost/project/selection_list.h"

#include "refhost/project/project_object.h"

namespace Brennovar::RefHost {

void SelectionList::add(ProjectObject& object) {
    if (object.selected())
        return;
    positions_[&object] = slots_.size();
    slots_.push_back(&object);
    object.assignSelected(true);
}

void SelectionList::remove(ProjectObject& object) {
    if (!object.selected())
        return;
    object.assignSelected(false);
    auto found = positions_.find(&object);
    if (found == positions_.end())
        return;
    slots_[found->second] = nullptr;
    positions_.erase(found);
}

void SelectionList::closeGaps() const noexcept {
    if (slots_.size() == positions_.size())
        return;
    std::size_t kept = 0;
    for (ProjectObject* object : slots_) {
        if (!object)
            continue;
        positions_[object] = kept;
        slots_[kept++] = object;
    }
    slots_.resize(kept);
}

} // namespace Brennovar::RefHost
