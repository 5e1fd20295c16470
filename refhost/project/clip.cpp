#include "refhost/project/clip.h"

#include "refhost/core/text_conversion.h"
#include "refhost/project/media_info.h"

namespace Brennovar::RefHost {

Clip::Clip(HostEnvironment& environment, std::string fileName)
    : HostFaces(environment), fileName_(std::move(fileName)) {
    setMediaAttribute("FileName", fileName_);
}

FUnknown* Clip::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IMediaSource::iid)
        return mediaSource();
    return nullptr;
}

std::string Clip::describe() const {
    return "clip '" + fileName_ + "'";
}

void Clip::setMediaAttribute(const std::string& key, std::string_view value) {
    attributes_[key] = utf16(value);
}

const std::u16string* Clip::mediaAttribute(std::string_view key) const noexcept {
    auto found = attributes_.find(key);
    return found == attributes_.end() ? nullptr : &found->second;
}

MediaInfo& Clip::info() {
    if (!info_)
        info_ = &environment().make<MediaInfo>(*this);
    return *info_;
}

} // namespace Brennovar::RefHost
