#pragma once

#include "host/menus.h"
#include "refhost/controls/menu_entry.h"

#include <vector>

namespace Brennovar::RefHost {

class CountedObject;
class HostEnvironment;
class HostMenuItem;

/// The items of a menu or sub-menu, in the order inserted. Items are host objects (menu items or
/// sub-menus); the list holds each as a host object (HostEnvironment::hold), which adds nothing
/// to the count its clients hold, and lets go of them when emptied or destroyed.
class MenuItemList {
public:
    MenuItemList() = default;
    MenuItemList(const MenuItemList&) = delete;
    MenuItemList& operator=(const MenuItemList&) = delete;
    ~MenuItemList() { removeAll(); }

    /// Appends the host item behind `item`. ResultInvalidArgument for null, for an object the
    /// host did not make, and for `owner` itself (a sub-menu cannot contain itself).
    ResultCode insert(HostEnvironment& environment, IMenuItem* item, const CountedObject* owner);
    void removeAll() noexcept;
    int32 count() const noexcept { return static_cast<int32>(items_.size()); }
    /// The items as entries, without numbers. Sub-menus nested deeper than kMaxDepth are shown
    /// empty, so that sub-menus inserted into each other cannot make the walk endless.
    std::vector<MenuEntry> entries(int depth = 0) const;
    /// How many leaf items entries() numbers, counted without copying them.
    int32 leafCount(int depth = 0) const noexcept;

    static constexpr int kMaxDepth = 8;

private:
    static constexpr std::size_t kFirstRoom = 16;

    HostEnvironment* environment_ = nullptr;
    std::vector<HostMenuItem*> items_;
};

} // namespace Brennovar::RefHost
