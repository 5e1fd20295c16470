#pragma once

#include "refhost/core/counted_object.h"
#include "refhost/core/fault_plan.h"
#include "refhost/core/host_behaviours.h"
#include "refhost/core/object_store.h"
#include "refhost/core/reference_report.h"

#include <atomic>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

class Project;

/// What all objects of one host share: the store that keeps every host object alive until the
/// host ends (and finds the object behind a face a client passes back), the fault plan and the
/// current project. Host thread only.
///
/// Objects are never freed before the host ends, whatever their clients do; a client's release
/// only changes the count kept for the report (see CountedObject). Memory therefore grows with
/// the objects created, which a session of the reference host can afford.
class HostEnvironment {
public:
    HostEnvironment() = default;
    HostEnvironment(const HostEnvironment&) = delete;
    HostEnvironment& operator=(const HostEnvironment&) = delete;
    ~HostEnvironment();

    /// Creates a host object (its constructor takes this environment first) and keeps it.
    template <class T, class... Args>
    T& make(Args&&... args) {
        return objects_.make<T>(*this, std::forward<Args>(args)...);
    }

    /// The host object whose face a client passed in, found without dereferencing the pointer;
    /// null for anything else (a pointer the host did not make, or not to a face).
    CountedObject* resolve(const void* pointer) const noexcept;
    template <class T>
    T* resolveAs(const void* pointer) const noexcept {
        return dynamic_cast<T*>(resolve(pointer));
    }

    FaultPlan& faults() noexcept { return faults_; }
    const FaultPlan& faults() const noexcept { return faults_; }

    /// How the host behaves where a client cannot count on one answer; read when the
    /// behaviour matters, so a change takes effect at once.
    HostBehaviours& behaviours() noexcept { return behaviours_; }
    const HostBehaviours& behaviours() const noexcept { return behaviours_; }

    /// What the host noticed a client do wrong outside any one report (a client that answers
    /// its own change with another, endlessly): one line each, each said once.
    void noteProblem(std::string problem);
    const std::vector<std::string>& problems() const noexcept { return problems_; }

    /// The project the services work on: null when none is open, or when the fault plan says
    /// noProject.
    Project* currentProject() const noexcept;
    /// The open project, ignoring the noProject fault.
    Project* openProject() const noexcept { return current_; }
    void setCurrentProject(Project* project) noexcept { current_ = project; }

    /// Every object clients still hold or over-released, in creation order.
    ReferenceReport references() const;
    /// What references() adds up, kept as the references move: the references clients hold
    /// now, and the releases refused as over-releases.
    int64 clientReferencesHeld() const noexcept { return held_.load(); }
    std::uint64_t overReleaseCount() const noexcept { return overReleased_.load(); }
    /// Kept by CountedObject.
    void referenceTaken() noexcept { held_.fetch_add(1); }
    void referenceGivenBack() noexcept { held_.fetch_sub(1); }
    void overReleased() noexcept { overReleased_.fetch_add(1); }

private:
    ObjectStore objects_;
    FaultPlan faults_;
    HostBehaviours behaviours_;
    std::vector<std::string> problems_;
    Project* current_ = nullptr;
    std::atomic<int64> held_{0};
    std::atomic<std::uint64_t> overReleased_{0};
};

} // namespace Brennovar::RefHost
