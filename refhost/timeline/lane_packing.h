#pragma once

#include "refhost/timeline/column_bins.h"

#include <algorithm>
#include <array>
#include <cstddef>
#include <vector>

namespace Brennovar::RefHost {

/// Where the items of one lane are drawn. Taken in order of their start, an item at least
/// kMinWidth px wide goes into the first of the lane's rows (at most kMaxRows) that is free from
/// its first column on, and is drawn alone there. An item narrower than that, or one that finds
/// every row taken, goes into the lane's bins of its style (plain or highlighted) instead: the
/// bins draw one shape per run of columns, so however many items a lane holds, it draws at most
/// kMaxRows * width / kMinWidth items alone and width / 2 runs per style.
class LanePacking {
public:
    static constexpr int kMaxRows = 8;
    static constexpr int kMinWidth = 3;

    struct Placed {
        /// The caller's index of the item.
        std::size_t item;
        int row;
        int first;
        int end;
    };

    /// The next item in order of start: its columns [first, end), its times in seconds, and
    /// whether it is highlighted.
    void add(std::size_t item, int first, int end, double start, double stop, bool highlighted);

    const std::vector<Placed>& placed() const noexcept { return placed_; }
    /// The bins of plain items and of highlighted ones.
    const ColumnBins& bins(bool highlighted) const noexcept { return bins_[highlighted]; }
    /// The rows in use, at least 1.
    int rows() const noexcept { return std::max<int>(1, static_cast<int>(rowEnds_.size())); }

private:
    std::vector<Placed> placed_;
    /// The end column of each row's last item.
    std::vector<int> rowEnds_;
    std::array<ColumnBins, 2> bins_;
};

} // namespace Brennovar::RefHost
