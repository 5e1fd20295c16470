#pragma once

#include "refhost/core/host_behaviours.h"

#include <CLI/CLI.hpp>

namespace Brennovar::RefHost {

/// Adds `--host-behaviour LIST`: the ways the host behaves where a module cannot count on one
/// answer, comma-separated (echo, late-rebuild, double-click, immediate-rebuild, all); an
/// unknown name is refused with the known ones.
CLI::Option* addHostBehaviourOption(CLI::App& command, HostBehaviours& behaviours);

} // namespace Brennovar::RefHost
