#include "refhost/project/audio_event.h"

#include "refhost/project/clip.h"

namespace Brennovar::RefHost {

const std::u16string AudioEvent::kNoDescription;

AudioEvent::AudioEvent(HostEnvironment& environment, Project& project, std::u16string name)
    : HostFaces(environment, project, ObjectKind::kAudioEvent, std::move(name)) {}

FUnknown* AudioEvent::getClip() noexcept {
    return clip_ ? clip_->mediaSource() : nullptr;
}

const char16_t* AudioEvent::getDescription() noexcept {
    return description().c_str();
}

void AudioEvent::setDescription(std::u16string description) {
    if (description.empty())
        description_.reset();
    else if (description_)
        *description_ = std::move(description);
    else
        description_ = std::make_unique<std::u16string>(std::move(description));
}

FUnknown* AudioEvent::face(const Guid& id) noexcept {
    if (id == IAudioEvent::iid)
        return static_cast<IAudioEvent*>(this);
    return ProjectObject::face(id);
}

} // namespace Brennovar::RefHost
