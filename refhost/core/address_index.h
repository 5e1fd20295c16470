#pragma once

#include <algorithm>
#include <cstddef>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace Brennovar::RefHost {

/// Regions of memory by their start address, each with its index in its owner's list, so that
/// an address can be traced to the region that holds it.
class AddressIndex {
public:
    /// Whether `a` lies before `b`. Addresses of different regions are compared, so through
    /// std::less, which orders them all.
    static bool before(const std::byte* a, const std::byte* b) noexcept {
        return std::less<const std::byte*>()(a, b);
    }

    /// Records a region that starts at `start`.
    void add(const std::byte* start, std::size_t index) {
        const Region region{start, index};
        regions_.insert(std::upper_bound(regions_.begin(), regions_.end(), region,
                                         [](const Region& a, const Region& b) {
                                             return before(a.first, b.first);
                                         }),
                        region);
    }

    /// Forgets the region that starts at `start`, if there is one.
    void remove(const std::byte* start) noexcept {
        auto at = std::find_if(regions_.begin(), regions_.end(),
                               [&](const Region& region) { return region.first == start; });
        if (at != regions_.end())
            regions_.erase(at);
    }

    /// The index of the region with the last start at or before the address: the only one that
    /// can hold it. Whether it reaches that far is the owner's to check.
    std::optional<std::size_t> startingBefore(const std::byte* address) const noexcept {
        auto at = std::upper_bound(
            regions_.begin(), regions_.end(), address,
            [](const std::byte* a, const Region& region) { return before(a, region.first); });
        if (at == regions_.begin())
            return std::nullopt;
        return std::prev(at)->second;
    }

    void clear() noexcept { regions_.clear(); }

private:
    using Region = std::pair<const std::byte*, std::size_t>;
    std::vector<Region> regions_;
};

} // namespace Brennovar::RefHost
