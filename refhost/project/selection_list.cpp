#include "refhost/project/selection_list.h"

#include "refhost/project/project_object.h"

#include <cstdint>
#include <limits>

namespace Brennovar::RefHost {

void SelectionList::add(ProjectObject& object) {
    if (object.selected())
        return;
    // Slots are 32 bits: gaps are closed before they would run out.
    if (slots_.size() >= std::numeric_limits<std::uint32_t>::max())
        closeGaps();
    slots_.push_back(&object);
    object.assignSelected(true, static_cast<std::uint32_t>(slots_.size() - 1));
    ++count_;
}

void SelectionList::remove(ProjectObject& object) {
    if (!object.selected())
        return;
    slots_[object.selectionSlot()] = nullptr;
    object.assignSelected(false);
    --count_;
}

void SelectionList::closeGaps() const noexcept {
    if (slots_.size() == count_)
        return;
    std::size_t kept = 0;
    for (ProjectObject* object : slots_) {
        if (!object)
            continue;
        object->assignSelected(true, static_cast<std::uint32_t>(kept));
        slots_[kept++] = object;
    }
    slots_.resize(kept);
}

} // namespace Brennovar::RefHost
