#include "language_option.h"

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

} // namespace Brennovar::RefHost
