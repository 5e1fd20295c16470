#pragma once

#include "refhost/controls/menu_item_list.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

namespace Brennovar::RefHost {

/// The menu behind a menu parameter (IMenuAccess::getMenu). It belongs to its parameter.
class HostMenu : public HostFaces<CountedObject, IMenu> {
public:
    explicit HostMenu(HostEnvironment& environment) : HostFaces(environment) {}

    /// The items as the host shows them, leaf items numbered.
    std::vector<MenuEntry> entries() const;
    /// How many leaf items the menu shows.
    int32 leafCount() const noexcept { return items_.leafCount(); }

    /// ResultInvalidArgument for null or an object the host did not make.
    ResultCode insert(IMenuItem* item) noexcept override;
    ResultCode removeAll() noexcept override;
    int32 count() noexcept override { return items_.count(); }

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

private:
    MenuItemList items_;
};

} // namespace Brennovar::RefHost
