#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace Brennovar::RefHost {

/// Adds `--lang CODE`: the host's language as a two-letter code (de, fr, ...); empty keeps the
/// user's language.
void addLanguageOption(CLI::App& command, std::string& language);

} // namespace Brennovar::RefHost
