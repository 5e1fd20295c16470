#include "platform/language.h"

#include <cstdlib>
#include <initializer_list>
#include <string_view>

namespace Brennovar::Platform {

namespace {

constexpr std::uint16_t kEnglish = 0x09;

struct LanguageId {
    std::string_view code;
    std::uint16_t id;
};

// ISO 639 codes as locale names use them, mapped to Windows primary language ids. Covers every
// language of the translation table's language list, plus the older or regional codes that the
// same Windows ids stand for (iw for Hebrew, nb and nn for Norwegian, bs for Bosnian).
constexpr LanguageId kLanguages[] = {
    {"af", 0x36}, {"ar", 0x01}, {"az", 0x2C}, {"be", 0x23}, {"bg", 0x02}, {"bs", 0x1A},
    {"ca", 0x03}, {"cs", 0x05}, {"da", 0x06}, {"de", 0x07}, {"el", 0x08}, {"en", 0x09},
    {"es", 0x0A}, {"et", 0x25}, {"eu", 0x2D}, {"fa", 0x29}, {"fi", 0x0B}, {"fo", 0x38},
    {"fr", 0x0C}, {"he", 0x0D}, {"hi", 0x39}, {"hr", 0x1A}, {"hu", 0x0E}, {"hy", 0x2B},
    {"id", 0x21}, {"is", 0x0F}, {"it", 0x10}, {"iw", 0x0D}, {"ja", 0x11}, {"ko", 0x12},
    {"lt", 0x27}, {"lv", 0x26}, {"mk", 0x2F}, {"ms", 0x3E}, {"nb", 0x14}, {"nl", 0x13},
    {"nn", 0x14}, {"no", 0x14}, {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},
    {"sk", 0x1B}, {"sl", 0x24}, {"sq", 0x1C}, {"sr", 0x1A}, {"sv", 0x1D}, {"th", 0x1E},
    {"tr", 0x1F}, {"uk", 0x22}, {"ur", 0x20}, {"vi", 0x2A}, {"zh", 0x04},
};

// A locale name is language[_territory][.codeset][@modifier]; only the language decides. "C",
// "POSIX" and anything unknown give English.
std::uint16_t languageOfLocale(std::string_view locale) {
    std::string_view language = locale.substr(0, locale.find_first_of("_.@"));
    for (const LanguageId& entry : kLanguages)
        if (entry.code == language)
            return entry.id;
    return kEnglish;
}

// The value of the first variable that is set and not empty, or null.
const char* firstSet(std::initializer_list<const char*> names) {
    for (const char* name : names) {
        const char* value = std::getenv(name);
        if (value && *value)
            return value;
    }
    return nullptr;
}

} // namespace

std::uint16_t userDefaultUiLanguage() {
    const char* locale = firstSet({"LC_ALL", "LC_MESSAGES", "LANG"});
    return locale ? languageOfLocale(locale) : kEnglish;
}

std::uint16_t systemDefaultLanguage() {
    const char* locale = firstSet({"LANG"});
    return locale ? languageOfLocale(locale) : kEnglish;
}

} // namespace Brennovar::Platform
