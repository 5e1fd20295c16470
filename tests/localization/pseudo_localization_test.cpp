#include "localization/localized_string.h"
#include "localization/pseudo_localization.h"
#include "localization/translation_table.h"
#include "localization_test_support.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

// Pseudolocalization is decided once per process, so this whole program runs with the marker
// file present.
class MarkerFileEnvironment : public testing::Environment {
public:
    void SetUp() override {
        settings_ = std::make_unique<Testing::TemporarySettingsFolder>();
        settings_->write(std::string(kPseudoLocalizationMarker), "");
        ASSERT_TRUE(isPseudoEnabled());
    }
    void TearDown() override { settings_.reset(); }
    static Testing::TemporarySettingsFolder& settings() { return *settings_; }

private:
    static inline std::unique_ptr<Testing::TemporarySettingsFolder> settings_;
};

[[maybe_unused]] testing::Environment* const environment =
    testing::AddGlobalTestEnvironment(new MarkerFileEnvironment);

/// Initialises a table for the language file's `language` and a loose document with `content`.
void initialise(TranslationTable& table, const char* language, const std::string& content) {
    MarkerFileEnvironment::settings().write("lang.cfg", language);
    MarkerFileEnvironment::settings().write("translation.xml", "\xEF\xBB\xBF<Translation>" +
                                                                   content + "</Translation>");
    table.initialise(false);
}

TEST(PseudoLocalizationTest, PseudoTextLengthensAndAccents) {
    const std::pair<std::u16string, std::u16string> cases[] = {
        {u"Media", u"[Mèèdììà]"},
        // The search resumes behind the character after each doubled pair.
        {u"aeiou", u"[ààèììòù]"},
        {u"aaaa", u"[àààààà]"},
        // Capitals are accented but not doubled; missing vowels are made up with padding.
        {u"AEIOU", u"[ÀÈÌÒÙ~~]"},
        {u"Cycle", u"[Cyclèè~]"},
        {u"x", u"[x]"},
        {u"", u"[]"},
    };
    for (const auto& [text, pseudo] : cases)
        EXPECT_EQ(pseudoText(text, u'[', u']'), pseudo);
}

TEST(PseudoLocalizationTest, UntranslatedTextsArePseudoTranslatedInThePseudoLanguage) {
    TranslationTable table;
    initialise(table, "xx",
               "<LanguageTable><language key=\"de\">Deutsch</language></LanguageTable><StringTable>"
               "<String Key=\"Source\"><de>Quelle</de><us>Origin</us></String></StringTable>");
    EXPECT_STREQ(table.currentLanguage(), "xx");
    ASSERT_EQ(table.languages().size(), 2u);
    EXPECT_EQ(std::u16string_view(table.languages()[1].name), u"Pseudolocalization");
    EXPECT_TRUE(isPseudoActive());

    static LocalizedString media(u"Media");
    EXPECT_EQ(std::u16string_view(media.lookup()), u"[Mèèdììà]");
    // The first entry of a key wins; here the German one, pseudo-translated from the key.
    static LocalizedString source(u"Source");
    EXPECT_EQ(std::u16string_view(source.lookup()), u"[Sòòùrcèè~]");
    static LocalizedString empty(u"");
    EXPECT_EQ(std::u16string_view(empty.lookup()), u"[]");
    EXPECT_EQ(pseudoTranslate(nullptr), nullptr);
}

TEST(PseudoLocalizationTest, OtherLanguagesAreNotPseudoTranslated) {
    TranslationTable table;
    initialise(table, "us",
               "<LanguageTable><language key=\"us\">English</language></LanguageTable>");
    EXPECT_FALSE(isPseudoActive());
    static LocalizedString media(u"Media");
    EXPECT_EQ(media.lookup(), media.key());
}

} // namespace
} // namespace Brennovar::Zintara
