#pragma once

#include "module/funknown.h"

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// One entry of a menu as the host shows it. Leaf items carry the number by which the host
/// reports a choice: top-level items first, then each sub-menu's items, sub-menus in the order
/// in which they were added; a sub-menu entry itself has no number (-1) and holds its items.
struct MenuEntry {
    std::u16string title;
    bool enabled = true;
    int32 tag = 0;
    int32 number = -1;
    std::vector<MenuEntry> items;
    bool isSubMenu() const noexcept { return number < 0; }
};

/// Gives the leaf items of a menu their numbers, starting at 0, in the order described above.
void numberMenuEntries(std::vector<MenuEntry>& entries);

} // namespace Brennovar::RefHost
