#pragma once

#include "module/funknown.h"

#include <atomic>
#include <string>

namespace Brennovar::RefHost {

class HostEnvironment;

/// The reference accounting behind every object that the host hands to a client (the module, or
/// a test acting as one).
///
/// The count kept here is only what the clients hold; the host's own hold is separate from
/// theirs. Most host objects (services, the project's objects) live as long as the host. An
/// object made for a client alone (a dialog's parameters, menu items and sub-menus) is
/// releasable: it lives while its clients or other host objects hold it (holdsByHost) and is
/// then retired (see HostEnvironment::makeReleasable). A release that would take the clients'
/// count below zero is an over-release, counted and reported, and has no other effect; the
/// object is never freed under the client.
/// The counts are atomic; everything else runs on the host's thread.
class CountedObject {
public:
    explicit CountedObject(HostEnvironment& environment) noexcept : environment_(environment) {}
    CountedObject(const CountedObject&) = delete;
    CountedObject& operator=(const CountedObject&) = delete;
    virtual ~CountedObject() = default;

    /// The face of this object (or of an object it stands for) for an interface id, without
    /// adding a reference; null when the id is not offered.
    virtual FUnknown* face(const Guid& id) noexcept = 0;
    /// A readable name for reports.
    virtual std::string describe() const = 0;
    /// Whether the pointer is one of this object's faces; compares addresses only.
    virtual bool hasFace(const void*) const noexcept { return false; }

    /// queryInterface of every face: refuses the ids the fault plan refuses, otherwise hands out
    /// face(id) with one reference (counted on the object that owns that face).
    ResultCode query(const Guid& id, void** obj) noexcept;
    /// A reference taken by a client: addRef, or one handed out with a result. Returns the count
    /// the client sees, the host's own hold included.
    uint32 clientAddRef() noexcept;
    /// A reference given back by a client. An over-release is recorded and refused.
    uint32 clientRelease() noexcept;

    int32 clientReferences() const noexcept { return clientRefs_.load(); }
    /// How many host objects hold this one (a menu its items, a parameter its menu).
    int32 holdsByHost() const noexcept { return hostHolds_; }
    uint32 referencesHandedOut() const noexcept { return handedOut_.load(); }
    uint32 overReleases() const noexcept { return overReleases_.load(); }

    HostEnvironment& environment() const noexcept { return environment_; }

private:
    friend class HostEnvironment;

    HostEnvironment& environment_;
    // Kept by HostEnvironment, on the host's thread; in one word with the flags, since a host
    // holds millions of objects.
    int32 hostHolds_ : 30 = 0;
    bool releasable_ : 1 = false;
    bool retired_ : 1 = false;
    std::atomic<int32> clientRefs_{0};
    std::atomic<uint32> handedOut_{0};
    std::atomic<uint32> overReleases_{0};
};

/// Hands one new reference on a face to a client and returns it (null stays null).
template <class T>
T* handOut(T* face) noexcept {
    if (face)
        face->addRef();
    return face;
}

} // namespace Brennovar::RefHost
