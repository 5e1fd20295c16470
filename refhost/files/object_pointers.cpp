#include "refhost/files/object_pointers.h"

#include "refhost/project/project.h"
#include "refhost/project/project_object.h"

#include <vector>

namespace Brennovar::RefHost {

ObjectPointers::ObjectPointers(const Project& project) : root_(&project.root()) {
    index(project.root());
}

void ObjectPointers::index(const ProjectObject& holder) {
    // Depth first with an explicit stack: a deeply nested project must not exhaust the stack.
    std::vector<const ProjectObject*> pending{&holder};
    while (!pending.empty()) {
        const ProjectObject* current = pending.back();
        pending.pop_back();
        const auto& children = current->children();
        for (std::size_t i = 0; i < children.size(); ++i) {
            positions_[children[i]] = i;
            pending.push_back(children[i]);
        }
    }
}

std::string ObjectPointers::of(const ProjectObject& object) const {
    std::vector<const ProjectObject*> chain;
    for (const ProjectObject* current = &object; current != root_; current = current->parent()) {
        if (!current || !positions_.contains(current))
            return {};
        chain.push_back(current);
    }
    std::string pointer;
    for (auto step = chain.rbegin(); step != chain.rend(); ++step) {
        pointer += '/';
        pointer += memberOf((*step)->parent()->kind());
        pointer += '/';
        pointer += std::to_string(positions_.at(*step));
    }
    return pointer;
}

std::string_view ObjectPointers::memberOf(ObjectKind holder) noexcept {
    switch (holder) {
    case ObjectKind::kRoot:
        return "tracks";
    case ObjectKind::kFolderTrack:
        return "children";
    case ObjectKind::kMarkerTrack:
        return "markers";
    case ObjectKind::kMidiPart:
        return "notes";
    default:
        return "events";
    }
}

} // namespace Brennovar::RefHost
