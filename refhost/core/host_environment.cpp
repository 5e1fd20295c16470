#include "refhost/core/host_environment.h"

#include "refhost/core/counted_object.h"

namespace Brennovar::RefHost {

HostEnvironment::~HostEnvironment() {
    current_ = nullptr;
    // Newest first, so objects go before the objects they were made from.
    while (!objects_.empty())
        objects_.pop_back();
}

void HostEnvironment::registerFace(const void* face, CountedObject* owner) {
    faces_[face] = owner;
}

void HostEnvironment::unregisterFace(const void* face) noexcept {
    faces_.erase(face);
}

CountedObject* HostEnvironment::resolve(const void* pointer) const noexcept {
    if (!pointer)
        return nullptr;
    auto found = faces_.find(pointer);
    return found == faces_.end() ? nullptr : found->second;
}

Project* HostEnvironment::currentProject() const noexcept {
    return faults_.noProject ? nullptr : current_;
}

ReferenceReport HostEnvironment::references() const {
    ReferenceReport report;
    for (const auto& object : objects_) {
        report.handedOut += object->referencesHandedOut();
        if (object->clientReferences() == 0 && object->overReleases() == 0)
            continue;
        ReferenceEntry entry{object->describe(), object->clientReferences(),
                             object->referencesHandedOut(), object->overReleases()};
        if (entry.outstanding > 0)
            report.leaks.push_back(entry);
        if (entry.overReleases > 0)
            report.overReleases.push_back(entry);
    }
    return report;
}

} // namespace Brennovar::RefHost
