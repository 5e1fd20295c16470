#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host dialog`: opens the module's dialog on a project with every event selected
/// and prints what it shows, as a person reads it; then cancels it.
void addDialogCommand(CLI::App& app);

} // namespace Brennovar::RefHost
