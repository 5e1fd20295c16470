#pragma once

#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

class Clip;

/// What getMediaInfo hands out for a media source: an opaque object (FUnknown only) that the
/// media attribute service reads the clip's attributes through.
class MediaInfo : public HostFaces<CountedObject, FUnknown> {
public:
    MediaInfo(HostEnvironment& environment, Clip& clip) : HostFaces(environment), clip_(clip) {}

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    Clip& clip() const noexcept { return clip_; }

private:
    Clip& clip_;
};

} // namespace Brennovar::RefHost
