#include "refhost/timeline/lane_packing.h"

namespace Brennovar::RefHost {

void LanePacking::add(std::size_t item, int first, int end, double start, double stop,
                      bool highlighted) {
    if (end - first >= kMinWidth) {
        for (std::size_t row = 0; row < kMaxRows; ++row) {
            if (row == rowEnds_.size())
                rowEnds_.push_back(first);
            if (rowEnds_[row] <= first) {
                rowEnds_[row] = end;
                placed_.push_back({item, static_cast<int>(row), first, end});
                return;
            }
        }
    }
    bins_[highlighted].add(first, end, start, stop);
}

} // namespace Brennovar::RefHost
