#pragma once

#include <string>

namespace Brennovar::RefHost {

/// What is checked of a module file before the system loader sees it: the loader trusts the
/// file's headers, so a truncated or damaged module would crash the host (SIGBUS on a segment
/// beyond the end of the file) or end it with the loader's own assertion.
///
/// A module must be a regular file holding an ELF shared object of this machine's class, byte
/// order and architecture, whose program headers lie inside the file and whose loadable
/// segments the file covers.
class ModuleFileCheck {
public:
    /// Empty when the file passes; otherwise what is wrong, as a phrase ("is truncated: ...").
    static std::string problem(const std::string& path);

    /// The path dlopen is given: a bare file name ("copy.so") means the file in the current
    /// folder, not a search of the library path.
    static std::string loadPath(const std::string& path);
};

} // namespace Brennovar::RefHost
