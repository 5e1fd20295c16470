#pragma once

#include "host/media.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

/// IMediaAttributeService over the clips of the host's projects.
class MediaService : public HostFaces<CountedObject, IMediaAttributeService> {
public:
    explicit MediaService(HostEnvironment& environment) : HostFaces(environment) {}

    /// The clip's media information with one reference for the caller; null for a source the
    /// host does not know.
    FUnknown* getMediaInfo(IMediaSource* source) noexcept override;
    /// out->setWideText(value) and ResultOk when the clip has the attribute; ResultFalse when
    /// it has not; ResultInvalidArgument for a null argument or unknown media information.
    ResultCode getAttribute(const char* key, FUnknown* mediaInfo, IString* out) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;
};

} // namespace Brennovar::RefHost
