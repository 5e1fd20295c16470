#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host run`: loads the module, opens a project (a file or the demo), runs one of
/// the module's commands as a workstation's user would, prints the markers it made, and
/// optionally saves the project or undoes the run.
void addRunCommand(CLI::App& app);

} // namespace Brennovar::RefHost
