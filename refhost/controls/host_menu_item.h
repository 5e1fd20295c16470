#pragma once

#include "host/menus.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <string>

namespace Brennovar::RefHost {

/// A menu item of the host (getObject with the IMenuItem id): a title, an enabled state and a
/// tag that the client sets before it inserts the item into a menu.
class HostMenuItem : public HostFaces<CountedObject, IMenuItem> {
public:
    explicit HostMenuItem(HostEnvironment& environment) : HostFaces(environment) {}

    const std::u16string& title() const noexcept { return title_; }
    bool enabled() const noexcept { return enabled_; }
    int32 tag() const noexcept { return tag_; }

    /// Copies the title; null gives an empty title.
    ResultCode setTitle(const char16_t* title) noexcept override;
    ResultCode setEnabled(bool enabled) noexcept override;
    ResultCode setTag(int32 tag) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

private:
    std::u16string title_;
    bool enabled_ = true;
    int32 tag_ = 0;
};

} // namespace Brennovar::RefHost
