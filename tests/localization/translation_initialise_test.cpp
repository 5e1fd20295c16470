#include "localization/language_code_table.h"
#include "localization/translation_table.h"
#include "localization_test_support.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

using Testing::TemporarySettingsFolder;

// A loose document with German and English only.
const std::string kLooseDocument = R"(<?xml version="1.0" encoding="utf-8"?>
<Translation><LanguageTable><language key="de">Deutsch</language>
<language key="us">English</language></LanguageTable>
<StringTable><String Key="Media"><de>Medien</de><us>Media</us></String>
<String Key="Source"><de>Quelle</de><us>Origin</us></String></StringTable></Translation>)";

class TranslationInitialiseTest : public testing::Test {
protected:
    TemporarySettingsFolder settings;
    ScopedEnvironment locale{"LC_ALL", "de_DE.UTF-8"};
};

TEST_F(TranslationInitialiseTest, LanguageFileChoosesTheLanguage) {
    settings.write("translation.xml", kLooseDocument);
    settings.write("lang.cfg", "us\n");
    TranslationTable table;
    table.initialise(false);
    EXPECT_STREQ(table.currentLanguage(), "us");
    EXPECT_EQ(table.languageIndex(), 1);
    EXPECT_EQ(LanguageCodeTable::currentIndex(), 0);
    EXPECT_EQ(std::u16string_view(table.lookup(u"Source")), u"Origin");
    ASSERT_EQ(table.languages().size(), 2u);
    EXPECT_EQ(std::u16string_view(table.languages()[0].name), u"Deutsch");
}

TEST_F(TranslationInitialiseTest, LanguageMissingFromTheDocumentFallsBackToDefault) {
    settings.write("translation.xml", kLooseDocument);
    settings.write("lang.cfg", "fr");
    TranslationTable table;
    table.initialise(false);
    EXPECT_STREQ(table.currentLanguage(), "us");
    EXPECT_EQ(table.dictionarySize(), 0u);
    EXPECT_EQ(std::u16string_view(table.lookup(u"Media")), u"Media");
    EXPECT_EQ(std::u16string_view(table.lookup(u"Source")), u"Origin");
}

TEST_F(TranslationInitialiseTest, WithoutUsableLanguageFileTheUiLanguageDecides) {
    settings.write("translation.xml", kLooseDocument);
    // Missing, too short, and two bytes that are not two characters.
    for (const std::optional<std::string>& content :
         {std::optional<std::string>(), std::optional<std::string>("d"),
          std::optional<std::string>(std::string("\0e", 2))}) {
        std::filesystem::remove(settings.folder() / "lang.cfg");
        if (content)
            settings.write("lang.cfg", *content);
        TranslationTable table;
        table.initialise(false);
        EXPECT_STREQ(table.currentLanguage(), "de");
        EXPECT_EQ(LanguageCodeTable::currentIndex(), 1);
        EXPECT_EQ(std::u16string_view(table.lookup(u"Media")), u"Medien");
    }
}

TEST_F(TranslationInitialiseTest, BrokenLooseDocumentIsReportedAndLeavesTheTableEmpty) {
    Testing::CapturedMessages captured;
    settings.write("translation.xml", "<Translation><Foo>");
    TranslationTable table;
    table.initialise(false);
    EXPECT_STREQ(table.currentLanguage(), "us");
    EXPECT_EQ(table.lookup(u"Media"), std::u16string_view(u"Media"));
    ASSERT_EQ(captured.messages.size(), 1u);
    EXPECT_EQ(captured.messages[0].substr(0, 42), "This tag is not supported in that context!");
}

TEST_F(TranslationInitialiseTest, ForLanguageReadsTheLooseDocumentOnlyWhenAsked) {
    settings.write("translation.xml", kLooseDocument);
    TranslationTable reading;
    reading.initialiseForLanguage("de");
    EXPECT_EQ(std::u16string_view(reading.lookup(u"Media")), u"Medien");
    EXPECT_EQ(reading.languages().size(), 2u);
    TranslationTable quiet;
    quiet.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
    EXPECT_EQ(quiet.lookup(u"Media"), std::u16string_view(u"Media"));
    EXPECT_TRUE(quiet.languages().empty());
}

} // namespace
} // namespace Brennovar::Zintara
