#pragma once

#include "module/funknown.h"

namespace Brennovar {

/// The host's root service. Everything the component asks of the host comes from getObject.
class IHostObjectProvider : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("EEC89683-80DB-4336-9177-273E138A763B");
    /// With a service's interface id: that service. With a class id (below, or IMenuItem /
    /// ISubMenu ids): a new object of that class. On ResultOk *obj carries one reference that
    /// the caller releases; otherwise *obj is null.
    virtual ResultCode getObject(const Guid& id, void** obj) noexcept = 0;
};

/// Class ids for getObject.
namespace HostClass {
constexpr Guid kPositionMarker = Guid::fromText("0499AB46-4C5F-463D-9BAF-00E704B52D35");
constexpr Guid kCycleMarker = Guid::fromText("B52FC642-AA6F-4D32-AFA2-7CE272C1F81B");
constexpr Guid kMenuParameter = Guid::fromText("712A8053-D733-4FEE-B1A3-5CBDC17D0532");
constexpr Guid kToggleParameter = Guid::fromText("D2D767F5-A3B7-4B44-8A8A-83FD04C1B489");
constexpr Guid kIntegerParameter = Guid::fromText("037B1E33-F364-4539-92F2-09B82602C80B");
constexpr Guid kTextParameter = Guid::fromText("96512EB9-2DE8-4960-B268-4A131CF7C5F8");
constexpr Guid kStringListParameter = Guid::fromText("5730772A-32DA-4950-BD57-EC7C821EDC4E");
} // namespace HostClass

} // namespace Brennovar
