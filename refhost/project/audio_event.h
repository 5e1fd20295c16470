#pragma once

#include "host/media.h"
#include "refhost/project/project_object.h"

#include <memory>
#include <string>

namespace Brennovar::RefHost {

class Clip;

/// An audio event: a project object of kind kAudioEvent with a description and a clip.
/// Answers IAudioEvent in addition to IHostObject.
class AudioEvent : public HostFaces<ProjectObject, IAudioEvent> {
public:
    AudioEvent(HostEnvironment& environment, Project& project, std::u16string name);

    /// The clip's IMediaSource face, borrowed; null when the event has no clip.
    FUnknown* getClip() noexcept override;
    /// Never null.
    const char16_t* getDescription() noexcept override;

    FUnknown* face(const Guid& id) noexcept override;

    Clip* clip() const noexcept { return clip_; }
    void setClip(Clip* clip) noexcept { clip_ = clip; }
    const std::u16string& description() const noexcept {
        return description_ ? *description_ : kNoDescription;
    }
    void setDescription(std::u16string description);

private:
    static const std::u16string kNoDescription;

    // Most events of a large project have no description: they keep a null pointer rather than
    // an empty text.
    std::unique_ptr<std::u16string> description_;
    Clip* clip_ = nullptr;
};

} // namespace Brennovar::RefHost
