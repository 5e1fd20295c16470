#include "refhost/core/host_environment.h"

#include "refhost/core/counted_object.h"

#include <algorithm>

namespace Brennovar::RefHost {

HostEnvironment::~HostEnvironment() {
    current_ = nullptr;
    objects_.clear();
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
