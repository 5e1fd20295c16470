#include "platform/language.h"
#include "scoped_environment.h"

#include <gtest/gtest.h>

namespace Brennovar::Platform {
namespace {

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
        {"_DE", 0x09},         {"hr_HR", 0x1A},      {"ms_MY", 0x3E},
        {"ko_KR", 0x12},       {"no_NO", 0x14},      {"af_ZA", 0x36},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment("LANG", c.locale);
        environment.set("LC_ALL", nullptr);
        environment.set("LC_MESSAGES", nullptr);
        EXPECT_EQ(userDefaultUiLanguage(), c.id) << c.locale;
        EXPECT_EQ(systemDefaultLanguage(), c.id) << c.locale;
    }
}

// The user's language is the first of the variables that is set and not empty; the system's
// is LANG alone.
TEST(LanguageTest, UserLanguageTakesTheFirstVariableSetAndSystemLanguageLang) {
    struct Case {
        const char* all;
        const char* messages;
        const char* lang;
        std::uint16_t user;
        std::uint16_t system;
    };
    const Case cases[] = {
        {"de_DE", "fr_FR", "ja_JP", 0x07, 0x11},
        {nullptr, "fr_FR", "ja_JP", 0x0C, 0x11},
        {"", "fr_FR", "ja_JP", 0x0C, 0x11},
        {"", "", "ja_JP", 0x11, 0x11},
        {"de_DE", "fr_FR", nullptr, 0x07, 0x09},
        {nullptr, nullptr, nullptr, 0x09, 0x09},
        {"", "", "", 0x09, 0x09},
        // The first variable decides even when it names no known language.
        {"xx_YY", "fr_FR", "ja_JP", 0x09, 0x11},
    };
    for (const Case& c : cases) {
        ScopedEnvironment environment("LC_ALL", c.all);
        environment.set("LC_MESSAGES", c.messages);
        environment.set("LANG", c.lang);
        SCOPED_TRACE(&c - cases);
        EXPECT_EQ(userDefaultUiLanguage(), c.user);
        EXPECT_EQ(systemDefaultLanguage(), c.system);
    }
}

} // namespace
} // namespace Brennovar::Platform
