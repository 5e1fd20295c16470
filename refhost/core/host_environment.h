#pragma once

#include "refhost/core/counted_object.h"
#include "refhost/core/fault_plan.h"
#include "refhost/core/host_behaviours.h"
#include "refhost/core/object_store.h"
#include "refhost/core/reference_report.h"

#include <atomic>
#include <cstdint>
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

class Project;

/// What all objects of one host share: the store that keeps the host objects (and finds the
/// object behind a face a client passes back), the fault plan and the current project. Host
/// thread only.
///
/// Objects made with make() live until the host ends, whatever their clients do; a client's
/// release only changes the count kept for the report (see CountedObject). Objects made with
/// makeReleasable() for a client alone go once nobody holds them, so that a dialog worked for
/// hours (rows added and deleted, menus filled again) needs no more memory than it shows.
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

    /// Creates a host object that lives while its clients hold a reference to it or host objects
    /// hold it (hold()). When the last of them lets go it is retired: kept whole while the next
    /// kRetained objects retire, so that a client's over-release soon after is still caught and
    /// reported like any other, and then destroyed. Its counts stay in references().
    template <class T, class... Args>
    T& makeReleasable(Args&&... args) {
        T& object = objects_.makeLoose<T>(*this, std::forward<Args>(args)...);
        object.releasable_ = true;
        return object;
    }
    /// A host object holds another (a menu its items): it is not retired while held.
    void hold(CountedObject& object) noexcept { ++object.hostHolds_; }
    void letGo(CountedObject& object) noexcept;
    /// Retires a releasable object that nobody holds; called by CountedObject.
    void retireIfFree(CountedObject& object) noexcept;

    /// Retired objects kept whole before they are destroyed.
    static constexpr std::size_t kRetained = 4096;

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
    void destroyOldestRetired() noexcept;

    ObjectStore objects_;
    std::deque<CountedObject*> retired_;
    bool destroying_ = false;
    bool ending_ = false;
    // What the destroyed objects add to references().
    std::uint64_t destroyedHandedOut_ = 0;
    std::vector<ReferenceEntry> destroyedOverReleases_;
    FaultPlan faults_;
    HostBehaviours behaviours_;
    std::vector<std::string> problems_;
    Project* current_ = nullptr;
    std::atomic<int64> held_{0};
    std::atomic<std::uint64_t> overReleased_{0};
};

/// One hold of a host part on a host object (HostEnvironment::hold), let go when it goes: what
/// keeps an object alive that the host still points to after its clients released it.
class HostHold {
public:
    HostHold() = default;
    explicit HostHold(CountedObject& object) noexcept : object_(&object) {
        object.environment().hold(object);
    }
    HostHold(HostHold&& other) noexcept : object_(std::exchange(other.object_, nullptr)) {}
    HostHold& operator=(HostHold&& other) noexcept {
        std::swap(object_, other.object_);
        return *this;
    }
    ~HostHold() {
        if (object_)
            object_->environment().letGo(*object_);
    }

private:
    CountedObject* object_ = nullptr;
};

} // namespace Brennovar::RefHost
