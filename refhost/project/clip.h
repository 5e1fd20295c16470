#pragma once

#include "host/media.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <map>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

class MediaInfo;

/// A media source behind audio events: a file with its media attributes. Any key can be set
/// ("FileName", "AudioScene", "AudioTake", BWF and iXML fields, ...); IMediaAttributeService
/// serves them through the clip's MediaInfo. Answers IMediaSource.
class Clip : public HostFaces<CountedObject, IMediaSource> {
public:
    /// Sets the media attribute "FileName" to the file name.
    Clip(HostEnvironment& environment, std::string fileName);

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

    const std::string& fileName() const noexcept { return fileName_; }
    /// Sets (or replaces) a media attribute; the value is UTF-8.
    void setMediaAttribute(const std::string& key, std::string_view value);
    /// The value, or null when the clip has no such attribute.
    const std::u16string* mediaAttribute(std::string_view key) const noexcept;
    const std::map<std::string, std::u16string, std::less<>>& mediaAttributes() const noexcept {
        return attributes_;
    }
    /// The media information object of this clip (made on first use).
    MediaInfo& info();
    IMediaSource* mediaSource() noexcept { return this; }

private:
    std::string fileName_;
    std::map<std::string, std::u16string, std::less<>> attributes_;
    MediaInfo* info_ = nullptr;
};

} // namespace Brennovar::RefHost
