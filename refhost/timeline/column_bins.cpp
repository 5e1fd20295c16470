#include "refhost/timeline/column_bins.h"

#include <algorithm>

namespace Brennovar::RefHost {

void ColumnBins::add(int first, int end, double start, double stop) {
    end = std::max(end, first + 1);
    if (runs_.empty() || first > runs_.back().end) {
        runs_.push_back({first, end, 1, start, stop});
        return;
    }
    Run& run = runs_.back();
    run.end = std::max(run.end, end);
    ++run.count;
    run.start = std::min(run.start, start);
    run.stop = std::max(run.stop, stop);
}

} // namespace Brennovar::RefHost
