#include "refhost/controls/host_menu_item.h"

#include "refhost/core/text_conversion.h"

#include <algorithm>

namespace Brennovar::RefHost {

std::u16string_view HostMenuItem::title() const noexcept {
    if (titleLength_ > kShortTitle)
        return longTitle_;
    return {shortTitle_.data(), titleLength_};
}

ResultCode HostMenuItem::setTitle(const char16_t* title) noexcept {
    const std::u16string_view text = title ? title : u"";
    try {
        if (text.size() > kShortTitle)
            longTitle_.assign(text);
        else
            std::copy(text.begin(), text.end(), shortTitle_.begin());
    } catch (...) {
        return ResultFailed;
    }
    titleLength_ = text.size();
    return ResultOk;
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
    return "menu item '" + utf8(title()) + "'";
}

} // namespace Brennovar::RefHost
