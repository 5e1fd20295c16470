#include "refhost/controls/host_sub_menu.h"

#include "refhost/core/text_conversion.h"

namespace Brennovar::RefHost {

ResultCode HostSubMenu::insert(IMenuItem* item) noexcept {
    try {
        return items_.insert(environment(), item, this);
    } catch (...) {
        return ResultFailed;
    }
}

FUnknown* HostSubMenu::face(const Guid& id) noexcept {
    if (id == FUnknown::iid || id == ISubMenu::iid)
        return static_cast<ISubMenu*>(this);
    if (id == IMenuItem::iid)
        return static_cast<IMenuItem*>(this);
    return nullptr;
}

std::string HostSubMenu::describe() const {
    return "sub-menu '" + utf8(title()) + "'";
}

} // namespace Brennovar::RefHost
