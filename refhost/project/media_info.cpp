#include "refhost/project/media_info.h"

#include "refhost/project/clip.h"

namespace Brennovar::RefHost {

FUnknown* MediaInfo::face(const Guid& id) noexcept {
    return id == FUnknown::iid ? static_cast<FUnknown*>(this) : nullptr;
}

std::string MediaInfo::describe() const {
    return "media information of " + clip_.describe();
}

} // namespace Brennovar::RefHost
