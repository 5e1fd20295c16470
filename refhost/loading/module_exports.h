#pragma once

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// The symbols a module file exports: every defined global or weak symbol of its dynamic symbol
/// table that other objects can bind to, in table order. Reads 64-bit ELF files; a
/// FileError(kExitModuleFailed) when the file cannot be read or is not one.
std::vector<std::string> moduleExports(const std::string& path);

} // namespace Brennovar::RefHost
