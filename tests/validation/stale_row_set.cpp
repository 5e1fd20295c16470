// The module's row sets with their one check taken out, for the validation battery's self-test:
// linked before the module's own, every set stays current for ever, so a row controller of an
// older build acts on whatever row has its index by now.
#include "dialog/row_set.h"

namespace Brennovar::Zintara {

RowSet::RowSet() : current_(std::make_shared<bool>(true)) {}

void RowSet::end() noexcept {}

bool RowSet::isCurrent() const noexcept {
    return true;
}

} // namespace Brennovar::Zintara
