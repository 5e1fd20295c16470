#pragma once

#include <memory>

namespace Brennovar::Zintara {

/// One build of the dialog's row controllers. The dialog controller starts a new set with every
/// rebuild of its rows and ends the set before it; the end of the dialog ends the last one. A
/// host may go on driving row controllers of an ended set (it rebuilds the row views when it
/// likes, or reports one press twice), and their row index may name another row by now, so a
/// row controller acts only while its set is current.
///
/// Copies share one state: every row controller holds a copy of the set it was built in.
class RowSet {
public:
    /// A new, current set.
    RowSet();
    /// Ends this set for every copy.
    void end() noexcept;
    bool isCurrent() const noexcept;

private:
    std::shared_ptr<bool> current_;
};

} // namespace Brennovar::Zintara
