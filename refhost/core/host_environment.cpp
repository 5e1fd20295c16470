#include "refhost/core/host_environment.h"

#include "refhost/core/counted_object.h"

#include <algorithm>

namespace Brennovar::RefHost {

HostEnvironment::~HostEnvironment() {
    current_ = nullptr;
    // Objects let go of each other as they are destroyed; all go anyway.
    ending_ = true;
    objects_.clear();
}

void HostEnvironment::letGo(CountedObject& object) noexcept {
    if (ending_)
        return;
    if (--object.hostHolds_ == 0 && object.releasable_)
        retireIfFree(object);
}

void HostEnvironment::retireIfFree(CountedObject& object) noexcept {
    if (ending_ || object.retired_ || object.hostHolds_ > 0 || object.clientReferences() > 0)
        return;
    try {
        retired_.push_back(&object);
    } catch (...) {
        return; // kept until the host ends
    }
    object.retired_ = true;
    // Destroying an object lets go of what it held, which retires more at the back of the
    // queue; those wait for later retirements, so that this call never reaches the object it
    // retired, which its caller may still be using.
    if (destroying_)
        return;
    destroying_ = true;
    for (std::size_t excess = retired_.size() - std::min(retired_.size(), kRetained); excess > 0;
         --excess)
        destroyOldestRetired();
    destroying_ = false;
}

void HostEnvironment::destroyOldestRetired() noexcept {
    CountedObject& object = *retired_.front();
    retired_.pop_front();
    object.retired_ = false;
    // Taken up again since it retired (a client's stray addRef, a menu it was put into).
    if (object.hostHolds_ > 0 || object.clientReferences() > 0)
        return;
    destroyedHandedOut_ += object.referencesHandedOut();
    if (object.overReleases() > 0) {
        try {
            destroyedOverReleases_.push_back(
                {object.describe(), 0, object.referencesHandedOut(), object.overReleases()});
        } catch (...) {
            // The count of over-releases still tells.
        }
    }
    objects_.destroy(object);
}

CountedObject* HostEnvironment::resolve(const void* pointer) const noexcept {
    if (!pointer)
        return nullptr;
    CountedObject* holder = objects_.find(pointer);
    return holder && holder->hasFace(pointer) ? holder : nullptr;
}

void HostEnvironment::noteProblem(std::string problem) {
    if (std::find(problems_.begin(), problems_.end(), problem) == problems_.end())
        problems_.push_back(std::move(problem));
}

Project* HostEnvironment::currentProject() const noexcept {
    return faults_.noProject ? nullptr : current_;
}

ReferenceReport HostEnvironment::references() const {
    ReferenceReport report;
    report.handedOut = destroyedHandedOut_;
    report.overReleases = destroyedOverReleases_;
    objects_.forEach([&report](const CountedObject& object) {
        report.handedOut += object.referencesHandedOut();
        if (object.clientReferences() == 0 && object.overReleases() == 0)
            return;
        ReferenceEntry entry{object.describe(), object.clientReferences(),
                             object.referencesHandedOut(), object.overReleases()};
        if (entry.outstanding > 0)
            report.leaks.push_back(entry);
        if (entry.overReleases > 0)
            report.overReleases.push_back(entry);
    });
    return report;
}

} // namespace Brennovar::RefHost
