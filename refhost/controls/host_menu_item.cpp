#include "refhost/controls/host_menu_item.h"

#include "refhost/core/text_conversion.h"

namespace Brennovar::RefHost {

ResultCode HostMenuItem::setTitle(const char16_t* title) noexcept {
    try {
        title_ = title ? title : u"";
        return ResultOk;
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode HostMenuItem::setEnabled(bool enabled) noexcept {
    enabled_ = enabled;
    return ResultOk;
}

ResultCode HostMenuItem::setTag(int32 tag) noexcept {
    tag_ = tag;
    return ResultOk;
}

FUnknown* HostMenuItem::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == IMenuItem::iid)
        return static_cast<IMenuItem*>(this);
    return nullptr;
}

std::string HostMenuItem::describe() const {
    return "menu item '" + utf8(title_) + "'";
}

} // namespace Brennovar::RefHost
