#include "refhost/controls/menu_item_list.h"

#include "refhost/controls/host_sub_menu.h"
#include "refhost/core/host_environment.h"

namespace Brennovar::RefHost {

namespace {

void numberLevel(std::vector<MenuEntry>& entries, int32& next) {
    for (MenuEntry& entry : entries)
        if (!entry.isSubMenu())
            entry.number = next++;
    for (MenuEntry& entry : entries)
        if (entry.isSubMenu())
            numberLevel(entry.items, next);
}

} // namespace

void numberMenuEntries(std::vector<MenuEntry>& entries) {
    int32 next = 0;
    numberLevel(entries, next);
}

ResultCode MenuItemList::insert(HostEnvironment& environment, IMenuItem* item,
                                const CountedObject* owner) {
    auto* found = environment.resolveAs<HostMenuItem>(item);
    if (!found || found == owner)
        return ResultInvalidArgument;
    // Menus hold dozens of items: room for some from the first one on.
    if (items_.capacity() == 0)
        items_.reserve(kFirstRoom);
    items_.push_back(found);
    environment_ = &environment;
    environment.hold(*found);
    return ResultOk;
}

void MenuItemList::removeAll() noexcept {
    // Emptied first: letting go may destroy items, and a sub-menu its own items.
    std::vector<HostMenuItem*> items;
    items.swap(items_);
    for (HostMenuItem* item : items)
        environment_->letGo(*item);
    // The room stays for the items a client puts in again.
    items.clear();
    if (items_.empty())
        items_.swap(items);
}

int32 MenuItemList::leafCount(int depth) const noexcept {
    int32 count = 0;
    for (const HostMenuItem* item : items_) {
        if (const auto* sub = dynamic_cast<const HostSubMenu*>(item))
            count += depth < kMaxDepth ? sub->items().leafCount(depth + 1) : 0;
        else
            ++count;
    }
    return count;
}

std::vector<MenuEntry> MenuItemList::entries(int depth) const {
    std::vector<MenuEntry> result;
    result.reserve(items_.size());
    for (const HostMenuItem* item : items_) {
        MenuEntry entry{std::u16string(item->title()), item->enabled(), item->tag(), 0, {}};
        if (const auto* sub = dynamic_cast<const HostSubMenu*>(item)) {
            entry.number = -1;
            if (depth < kMaxDepth)
                entry.items = sub->items().entries(depth + 1);
        }
        result.push_back(std::move(entry));
    }
    return result;
}

} // namespace Brennovar::RefHost
