#include "platform/language.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace Brennovar::Platform {
namespace {

void setLocale(ScopedEnvironment& environment, const char* all, const char* messages,
               const char* lang) {
    environment.set("LC_ALL", all);
    environment.set("LC_MESSAGES", messages);
    environment.set("LANG", lang);
}

TEST(LanguageTest, MapsLocaleNamesToPrimaryLanguageIds) {
    struct Case {
        const char* locale;
        std::uint16_t id;
    };
    const Case cases[] = {
        {"de_DE.UTF-8", 0x07}, {"ja_JP", 0x11},      {"pt_BR", 0x16},
        {"pt_PT.UTF-8", 0x16}, {"fr_FR@euro", 0x0C}, {"zh_CN.GB18030", 0x04},
        {"sr_RS@latin", 0x1A}, {"nb_NO", 0x14},      {"en_US.UTF-8", 0x09},
        {"de", 0x07},          {"C", 0x09},          {"C.UTF-8", 0x09},
        {"POSIX", 0x09},       {"xx_YY", 0x09},      {"deu", 0x09},
        {"_DE", 0x09},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment;
        setLocale(environment, nullptr, nullptr, c.locale);
        EXPECT_EQ(userDefaultUiLanguage(), c.id) << c.locale;
        EXPECT_EQ(systemDefaultLanguage(), c.id) << c.locale;
    }
}

// Every language of the translation table's code list, with the locale language that names it
// (the table's "us", "jp" and "bp" are English, Japanese and Brazilian Portuguese).
TEST(LanguageTest, CoversEveryLanguageOfTheTranslationTable) {
    struct Case {
        const char* language;
        std::uint16_t id;
    };
    const Case table[] = {
        {"en", 0x09}, {"de", 0x07},    {"fr", 0x0C}, {"ja", 0x11}, {"es", 0x0A}, {"it", 0x10},
        {"ar", 0x01}, {"bg", 0x02},    {"ca", 0x03}, {"zh", 0x04}, {"cs", 0x05}, {"da", 0x06},
        {"el", 0x08}, {"fi", 0x0B},    {"he", 0x0D}, {"hu", 0x0E}, {"is", 0x0F}, {"ko", 0x12},
        {"nl", 0x13}, {"no", 0x14},    {"pl", 0x15}, {"pt", 0x16}, {"ro", 0x18}, {"ru", 0x19},
        {"hr", 0x1A}, {"sr", 0x1A},    {"sk", 0x1B}, {"sq", 0x1C}, {"sv", 0x1D}, {"th", 0x1E},
        {"tr", 0x1F}, {"ur", 0x20},    {"id", 0x21}, {"uk", 0x22}, {"be", 0x23}, {"sl", 0x24},
        {"et", 0x25}, {"lv", 0x26},    {"lt", 0x27}, {"fa", 0x29}, {"vi", 0x2A}, {"hy", 0x2B},
        {"az", 0x2C}, {"eu", 0x2D},    {"mk", 0x2F}, {"af", 0x36}, {"fo", 0x38}, {"hi", 0x39},
        {"ms", 0x3E}, {"pt_BR", 0x16},
    };
    ScopedEnvironment environment;
    setLocale(environment, nullptr, nullptr, nullptr);
    for (const Case& c : table) {
        setenv("LC_ALL", c.language, 1);
        EXPECT_EQ(userDefaultUiLanguage(), c.id) << c.language;
    }
}

TEST(LanguageTest, UserLanguageTakesTheFirstVariableThatIsSetAndNotEmpty) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        std::uint16_t id;
    };
    const Case cases[] = {
        {"de_DE", "fr_FR", "ja_JP", 0x07},
        {nullptr, "fr_FR", "ja_JP", 0x0C},
        {"", "fr_FR", "ja_JP", 0x0C},
        {"", "", "ja_JP", 0x11},
        {nullptr, nullptr, nullptr, 0x09},
        {"", "", "", 0x09},
        // The first variable decides even when it names no known language.
        {"xx_YY", "fr_FR", "ja_JP", 0x09},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment;
        setLocale(environment, c.all, c.messages, c.lang);
        EXPECT_EQ(userDefaultUiLanguage(), c.id)
            << (c.all ? c.all : "-") << " " << (c.messages ? c.messages : "-") << " "
            << (c.lang ? c.lang : "-");
    }
}

TEST(LanguageTest, SystemLanguageReadsLangAlone) {
    ScopedEnvironment environment;
    setLocale(environment, "de_DE", "fr_FR", "ja_JP");
    EXPECT_EQ(systemDefaultLanguage(), 0x11);
    environment.set("LANG", nullptr);
    EXPECT_EQ(systemDefaultLanguage(), 0x09);
}

} // namespace
} // namespace Brennovar::Platform
