#include "refhost/selection_list.h"

#include "refhost/project_object.h"

#include <algorithm>

namespace Brennovar::RefHost {

void SelectionList::add(ProjectObject& object) {
    if (object.selected())
        return;
    objects_.push_back(&object);
    object.assignSelected(true);
}

void SelectionList::remove(ProjectObject& object) {
    if (!object.selected())
        return;
    object.assignSelected(false);
    auto found = std::find(objects_.begin(), objects_.end(), &object);
    if (found != objects_.end())
        objects_.erase(found);
}

void SelectionList::clear() {
    for (ProjectObject* object : objects_)
        object->assignSelected(false);
    objects_.clear();
}

} // namespace Brennovar::RefHost
