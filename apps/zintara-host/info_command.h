#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host info`: what a module says about itself (factory and class records),
/// what its service registers with a host, and which resources it carries.
void addInfoCommand(CLI::App& app);

} // namespace Brennovar::RefHost
