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

// The language file chooses the language; one the document lacks falls back to the default,
// and without a usable file (missing, too short, two bytes that are not two characters) the
// user interface's language decides.
TEST_F(TranslationInitialiseTest, LanguageFileOrElseTheUiLanguageChooses) {
    settings.write("translation.xml", kLooseDocument);
    const struct {
        std::optional<std::string> file;
        const char* language;
        int languageIndex; // in the document's language table
        int32 codeIndex;
        const char16_t* source;
    } cases[] = {
        {"us\n", "us", 1, 0, u"Origin"},
        {"fr", "us", 1, 0, u"Origin"},
        {std::nullopt, "de", 0, 1, u"Quelle"},
        {"d", "de", 0, 1, u"Quelle"},
        {std::string("\0e", 2), "de", 0, 1, u"Quelle"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(testing::PrintToString(c.file));
        std::filesystem::remove(settings.folder() / "lang.cfg");
        if (c.file)
            settings.write("lang.cfg", *c.file);
        TranslationTable table;
        table.initialise(false);
        EXPECT_STREQ(table.currentLanguage(), c.language);
        EXPECT_EQ(table.languageIndex(), c.languageIndex);
        EXPECT_EQ(LanguageCodeTable::currentIndex(), c.codeIndex);
        EXPECT_EQ(std::u16string_view(table.lookup(u"Source")), c.source);
        ASSERT_EQ(table.languages().size(), 2u);
        EXPECT_EQ(std::u16string_view(table.languages()[0].name), u"Deutsch");
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
