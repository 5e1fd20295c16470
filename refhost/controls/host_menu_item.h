#pragma once

#include "host/menus.h"
#include "refhost/core/counted_object.h"
#include "refhost/core/host_faces.h"

#include <array>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// A menu item of the host (getObject with the IMenuItem id): a title, an enabled state and a
/// tag that the client sets before it inserts the item into a menu.
class HostMenuItem : public HostFaces<CountedObject, IMenuItem> {
public:
    explicit HostMenuItem(HostEnvironment& environment) : HostFaces(environment) {}

    std::u16string_view title() const noexcept;
    bool enabled() const noexcept { return enabled_; }
    int32 tag() const noexcept { return tag_; }

    /// Copies the title; null gives an empty title. A short title, as nearly all are, is kept
    /// in the item itself.
    ResultCode setTitle(const char16_t* title) noexcept override;
    ResultCode setEnabled(bool enabled) noexcept override;
    ResultCode setTag(int32 tag) noexcept override;

    FUnknown* face(const Guid& id) noexcept override;
    std::string describe() const override;

private:
    static constexpr std::size_t kShortTitle = 48;

    std::array<char16_t, kShortTitle> shortTitle_{};
    std::u16string longTitle_;
    std::size_t titleLength_ = 0;
    bool enabled_ = true;
    int32 tag_ = 0;
};

} // namespace Brennovar::RefHost
