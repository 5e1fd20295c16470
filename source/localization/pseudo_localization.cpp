#include "localization/pseudo_localization.h"

#include "localization/language_code_table.h"
#include "localization/translation_table.h"
#include "platform/language.h"
#include "platform/settings_folder.h"

#include <filesystem>
#include <system_error>
#include <utility>

namespace Brennovar::Zintara {

namespace {

constexpr char16_t kPadding = u'~';

bool isLowercaseVowel(char16_t c) {
    return c == u'a' || c == u'e' || c == u'i' || c == u'o' || c == u'u';
}

// Every vowel with its grave-accented form.
constexpr std::pair<char16_t, char16_t> kAccents[] = {
    {u'A', u'\u00C0'}, {u'a', u'\u00E0'}, {u'E', u'\u00C8'}, {u'e', u'\u00E8'}, {u'I', u'\u00CC'},
    {u'i', u'\u00EC'}, {u'O', u'\u00D2'}, {u'o', u'\u00F2'}, {u'U', u'\u00D9'}, {u'u', u'\u00F9'},
};

char16_t accented(char16_t c) {
    for (auto [plain, withAccent] : kAccents)
        if (c == plain)
            return withAccent;
    return c;
}

bool markerFileExists() noexcept {
    std::filesystem::path folder = Platform::settingsFolder();
    if (folder.empty())
        return false;
    std::error_code error;
    return std::filesystem::exists(std::filesystem::path(folder) / kPseudoLocalizationMarker,
                                   error);
}

} // namespace

bool isPseudoEnabled() noexcept {
    static const bool enabled = markerFileExists();
    return enabled;
}

bool isPseudoActive() noexcept {
    if (!isPseudoEnabled())
        return false;
    TranslationTable* table = TranslationTable::current();
    if (!table)
        return false;
    const char* code = table->currentLanguage();
    if (!code)
        code = LanguageCodeTable::codeOfWindowsId(Platform::systemDefaultLanguage());
    return std::string_view(code) == TranslationTable::kPseudoLanguage;
}

const char16_t* pseudoTranslate(const char16_t* key) noexcept {
    if (!key)
        return nullptr;
    static TranslationTable& pseudoTable = []() -> TranslationTable& {
        static TranslationTable table(TranslationTable::Registration::kPrivate);
        table.activateLanguage(TranslationTable::kPseudoLanguage);
        return table;
    }();
    pseudoTable.addString(key, TranslationTable::kPseudoLanguage, key);
    return pseudoTable.lookup(key);
}

std::u16string pseudoText(std::u16string_view text, char16_t open, char16_t close) {
    std::u16string result(text);
    std::size_t toAdd = text.size() / 2;
    std::size_t added = 0;
    for (std::size_t i = 0; i < result.size() && added < toAdd;) {
        if (isLowercaseVowel(result[i])) {
            result.insert(i, 1, result[i]);
            ++added;
            i += 3;
        } else {
            ++i;
        }
    }
    result.append(toAdd - added, kPadding);
    for (char16_t& c : result)
        c = accented(c);
    return open + result + close;
}

} // namespace Brennovar::Zintara
