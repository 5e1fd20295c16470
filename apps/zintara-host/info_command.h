#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host info`: what a module says about itself (factory and class records),
/// what its service registers with a host, and which resources it carries.
void addInfoCommand(CLI::App& app);

/// `zintara-host --version`: the tool's version, the module it loads without `--module` (and
/// why that one) and the version of that module's service class. The answer is the exit status:
/// kExitModuleFailed, with the reason, when the module cannot be loaded.
int printVersion(bool json);

} // namespace Brennovar::RefHost
