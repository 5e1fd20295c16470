#pragma once

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// `zintara-host validate`: puts a build of the module through the validation battery.
void addValidateCommand(CLI::App& app);

} // namespace Brennovar::RefHost
