#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host skin`: lists the module's packed skin container and extracts its files.
void addSkinCommand(CLI::App& app);

} // namespace Brennovar::RefHost
