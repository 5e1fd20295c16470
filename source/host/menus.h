#pragma once

#include "module/funknown.h"

namespace Brennovar {

class IMenuItem;

/// The menu behind a menu parameter (from IMenuAccess::getMenu; no id of its own).
class IMenu : public FUnknown {
public:
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    /// Appends the item; the menu takes its own reference.
    virtual ResultCode insert(IMenuItem* item) noexcept = 0;
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    virtual ResultCode removeAll() noexcept = 0;
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual int32 count() noexcept = 0;
};

/// Access to a menu parameter's menu.
class IMenuAccess : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("26288B25-9C39-43DA-9C4C-A12DB682160E");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    /// Borrowed.
    virtual IMenu* getMenu() noexcept = 0;
    virtual ResultCode menuChanged() noexcept = 0;
};

/// One menu item; made with getObject and this id.
class IMenuItem : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("622E9493-0065-41F6-B1DF-3CC22293CCE6");
    // reservedN: slots the host has but the component does not use; they keep the slot order.
    virtual ResultCode reserved3() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode setTitle(const char16_t* title) noexcept = 0;
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual ResultCode setEnabled(bool enabled) noexcept = 0;
    virtual ResultCode reserved9() noexcept { return ResultNotImplemented; }
    virtual ResultCode setTag(int32 tag) noexcept = 0;
};

/// A sub-menu; made with getObject and this id. It is appended to a menu as an item (it also
/// answers IMenuItem).
class ISubMenu : public FUnknown {
public:
    static constexpr Guid iid = Guid::fromText("12EF0904-61EE-43BC-81EF-D6283544BCB1");
    /// Appends the item; the sub-menu takes its own reference.
    virtual ResultCode insert(IMenuItem* item) noexcept = 0;
    virtual ResultCode reserved4() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved5() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved6() noexcept { return ResultNotImplemented; }
    virtual ResultCode reserved7() noexcept { return ResultNotImplemented; }
    virtual int32 count() noexcept = 0;
};

} // namespace Brennovar
