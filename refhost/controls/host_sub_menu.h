#pragma once

#include "refhost/controls/host_menu_item.h"
#include "refhost/controls/menu_item_list.h"

namespace Brennovar::RefHost {

/// A sub-menu of the host (getObject with the ISubMenu id). It is a menu item too: the client
/// titles it through its IMenuItem face and inserts that face into a menu.
class HostSubMenu : public HostFaces<HostMenuItem, ISubMenu> {
public:
    explicit HostSubMenu(HostEnvironment& environment) : HostFaces(environment) {}

    const MenuItemList& items() const noexcept { return items_; }

    /// ResultInvalidArgument for null, an object the host did not make, or the sub-menu itself.
    ResultCode insert(IMenuItem* item) noexcept override;
    int32 count() noexcept override { return items_.count(); }

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

private:
    MenuItemList items_;
};

} // namespace Brennovar::RefHost
