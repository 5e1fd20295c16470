#include "language_option.h"

#include "localization/translation_table.h"
#include "refhost/core/text_conversion.h"
#include "refhost/services/translation_service.h"

#include <cctype>

namespace Brennovar::RefHost {

void addLanguageOption(CLI::App& command, std::string& language) {
    command
        .add_option("--lang", language,
                    "The host's language, a two-letter code (de, fr, ...; us for English); "
                    "default: the user's")
        ->check(CLI::Validator(
            [](const std::string& code) {
                bool letters = code.size() == 2 &&
                               std::isalpha(static_cast<unsigned char>(code[0])) &&
                               std::isalpha(static_cast<unsigned char>(code[1]));
                return letters ? std::string() : "expected a two-letter language code";
            },
            "CODE"));
}

std::string offeredLanguages(const TranslationService& translations) {
    std::string list;
    for (const auto& language : translations.languages())
        list += (list.empty() ? "" : ", ") + language.code + " (" + utf8(language.name) + ")";
    return list.empty() ? "none" : list;
}

std::string languageWarning(const TranslationService& translations, const std::string& requested) {
    // Pseudolocalization is the module's own, offered whatever its document lists.
    if (requested.empty() || requested == Zintara::TranslationTable::kPseudoLanguage)
        return {};
    std::string lower = requested;
    for (char& c : lower)
        c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    std::string nearest;
    for (const auto& language : translations.languages()) {
        if (language.code == requested)
            return {};
        if (language.code == lower || (lower == "en" && language.code == "us"))
            nearest = language.code;
    }
    return "the module offers no language \"" + requested + "\"" +
           (nearest.empty() ? "" : " (did you mean \"" + nearest + "\"?)") +
           "; its texts stay untranslated. Offered: " + offeredLanguages(translations);
}

} // namespace Brennovar::RefHost
