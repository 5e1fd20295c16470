#pragma once

#include "host/text_interfaces.h"
#include "module/funknown.h"

namespace Brennovar {

/// An audio event's own data.
class IAudioEvent : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("31AFE552-A834-51D6-FE9B-6AB6FE41017A");
    /// The event's clip, borrowed; null when it has none.
    virtual FUnknown* getClip() noexcept = 0;
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    /// Never null; owned by the event.
    virtual const char16_t* getDescription() noexcept = 0;
};

/// A media file behind a clip.
class IMediaSource : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("E34A31B4-ADCB-40BC-BCE6-4393CFBF48BF");
};

/// Media attributes (file, BWF, iXML fields) of media sources.
class IMediaAttributeService : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("188B1B0C-8D96-DF4E-A98D-97C0A9998C6E");
    /// The media information of a source, with one reference for the caller, or null.
    virtual FUnknown* getMediaInfo(IMediaSource* source) noexcept = 0;
    /// Writes the attribute's text into out; 0 when the attribute exists.
    virtual ResultCode getAttribute(const char* key, FUnknown* mediaInfo,
                                    IString* out) noexcept = 0;
};

} // namespace Brennovar
