#include "refhost/controls/host_menu.h"

namespace Brennovar::RefHost {

std::vector<MenuEntry> HostMenu::entries() const {
    std::vector<MenuEntry> result = items_.entries();
    numberMenuEntries(result);
    return result;
}

ResultCode HostMenu::insert(IMenuItem* item) noexcept {
    try {
        return items_.insert(environment(), item, this);
    } catch (...) {
        return ResultFailed;
    }
}

ResultCode HostMenu::removeAll() noexcept {
    items_.removeAll();
    return ResultOk;
}

FUnknown* HostMenu::face(const Guid& id) noexcept {
    if (id == FUnknown::iid)
        return static_cast<IMenu*>(this);
    return nullptr;
}

std::string HostMenu::describe() const {
    return "menu";
}

} // namespace Brennovar::RefHost
