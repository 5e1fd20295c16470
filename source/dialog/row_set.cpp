#include "dialog/row_set.h"

namespace Brennovar::Zintara {

RowSet::RowSet() : current_(std::make_shared<bool>(true)) {}

void RowSet::end() noexcept {
    *current_ = false;
}

bool RowSet::isCurrent() const noexcept {
    return *current_;
}

} // namespace Brennovar::Zintara
