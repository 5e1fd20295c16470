#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `zintara-host show`: reads a project file (or the demo), lists the project, and can
/// write it back in canonical form. No module is loaded.
void addShowCommand(CLI::App& app);

} // namespace Brennovar::RefHost
