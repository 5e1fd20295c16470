#include "refhost/services/media_service.h"

#include "refhost/core/host_environment.h"
#include "refhost/project/clip.h"
#include "refhost/project/media_info.h"

namespace Brennovar::RefHost {

FUnknown* MediaService::getMediaInfo(IMediaSource* source) noexcept {
    auto* clip = environment().resolveAs<Clip>(source);
    if (!clip)
        return nullptr;
    try {
        return handOut(static_cast<FUnknown*>(&clip->info()));
    } catch (...) {
        return nullptr;
    }
}

ResultCode MediaService::getAttribute(const char* key, FUnknown* mediaInfo, IString* out) noexcept {
    auto* info = environment().resolveAs<MediaInfo>(mediaInfo);
    if (!key || !info || !out)
        return ResultInvalidArgument;
    const std::u16string* value = info->clip().mediaAttribute(key);
    if (!value)
        return ResultFalse;
    out->setWideText(value->c_str());
    return ResultOk;
}

FUnknown* MediaService::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IMediaAttributeService::iid)
        return static_cast<IMediaAttributeService*>(this);
    return nullptr;
}

std::string MediaService::describe() const {
    return "service IMediaAttributeService";
}

} // namespace Brennovar::RefHost
