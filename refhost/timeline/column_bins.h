#pragma once

#include <cstddef>
#include <vector>

namespace Brennovar::RefHost {

/// Items of a lane that are drawn together rather than each alone: the pixel columns they touch
/// are filled, and each run of filled columns (columns touching or overlapping) is one shape,
/// however many items it holds. A lane therefore draws at most one such shape per two columns,
/// whatever the number of its items.
class ColumnBins {
public:
    struct Run {
        /// The columns [first, end).
        int first;
        int end;
        std::size_t count;
        /// The earliest start and the latest end of its items, in seconds.
        double start;
        double stop;
    };

    /// An item over the columns [first, end) (at least the column `first`), from `start` to
    /// `stop` seconds. Items come in order of their first column.
    void add(int first, int end, double start, double stop);

    const std::vector<Run>& runs() const noexcept { return runs_; }

private:
    std::vector<Run> runs_;
};

} // namespace Brennovar::RefHost
