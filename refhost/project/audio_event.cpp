#include "refhost/project/audio_event.h"

#include "refhost/project/clip.h"

namespace Brennovar::RefHost {

AudioEvent::AudioEvent(HostEnvironment& environment, Project& project, std::u16string name)
    : HostFaces(environment, project, ObjectKind::kAudioEvent, std::move(name)) {}

FUnknown* AudioEvent::getClip() noexcept {
    return clip_ ? clip_->mediaSource() : nullptr;
}

const char16_t* AudioEvent::getDescription() noexcept {
    return description_.c_str();
}

FUnknown* AudioEvent::face(const Guid& id) noexcept {
    if (id == IAudioEvent::iid)
        return static_cast<IAudioEvent*>(this);
    return ProjectObject::face(id);
}

} // namespace Brennovar::RefHost
