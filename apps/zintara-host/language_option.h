#pragma once

#include <CLI/CLI.hpp>
#include <string>

namespace Brennovar::RefHost {

class TranslationService;

/// Adds `--lang CODE`: the host's language as a two-letter code (de, fr, ...); empty keeps the
/// user's language.
void addLanguageOption(CLI::App& command, std::string& language);

/// The languages the module's translations offer: "de (Deutsch), us (English), ...".
std::string offeredLanguages(const TranslationService& translations);

/// Empty when the module offers the requested language (or none was requested); otherwise a
/// warning that names the code, the nearest offered one and the list, since the host then shows
/// the module's texts untranslated.
std::string languageWarning(const TranslationService& translations, const std::string& requested);

} // namespace Brennovar::RefHost
