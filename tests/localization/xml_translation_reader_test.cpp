#include "localization/translation_document_reader.h"
#include "localization_test_support.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

using Testing::ExactDocument;
using Testing::RecordingSink;
using Entry = RecordingSink::Entry;

const std::string kBom = "\xEF\xBB\xBF";

std::optional<ParseFailure> readDocument(std::string_view text, RecordingSink& sink,
                                         bool takeLanguages = true) {
    ExactDocument document(text);
    return TranslationDocumentReader::read(document.span(), sink, takeLanguages);
}

TEST(XmlTranslationReaderTest, RecognisesUtf8ByMarkOrDeclaration) {
    const std::string declaration = "<?xml version=\"1.0\" encoding=\"UtF-8\"?>";
    const std::pair<std::string, bool> cases[] = {
        {kBom + "<Translation/>", true},
        {declaration + "<Translation/>", true},
        // The declaration must end within the first 127 bytes.
        {std::string(127 - 16, ' ') + "encoding=\"utf-8\"", true},
        {std::string(128 - 16, ' ') + "encoding=\"utf-8\"", false},
        {"<?xml version=\"1.0\" encoding='utf-8'?>", false},
        {"<?xml version=\"1.0\" encoding=\"windows-1252\"?>", false},
        {"\xEF\xBB", false},
        {"", false},
    };
    for (const auto& [text, utf8] : cases) {
        ExactDocument document(text);
        EXPECT_EQ(TranslationDocumentReader::isUtf8(document.span()), utf8) << text;
    }
}

// Languages are only taken over when asked.
TEST(XmlTranslationReaderTest, ReadsLanguagesAndStringsWithEscapes) {
    const std::string document = kBom + R"(<Translation>
<LanguageTable><language key="de">Deutsch</language><language key="ru">Русский</language>
<language key="">Nothing</language><language key="fr"></language></LanguageTable>
<StringTable>
<String Key="Line\nBreak"><de>Zeile\nUmbruch\tund \q</de><us>Line\nBreak</us><fr></fr></String>
<String><de>Without key</de></String>
<de>Outside a string</de>
<String Key="Media"><ru>Медиа</ru><other>x</other></String>
</StringTable></Translation>)";
    RecordingSink sink, withoutLanguages;
    ASSERT_FALSE(readDocument(document, sink));
    ASSERT_FALSE(readDocument(document, withoutLanguages, false));
    EXPECT_TRUE(withoutLanguages.languages.empty());
    EXPECT_EQ(withoutLanguages.entries, sink.entries);
    EXPECT_EQ(sink.languages, (std::vector<std::pair<std::string, std::u16string>>{
                                  {"de", u"Deutsch"}, {"ru", u"Русский"}}));
    EXPECT_EQ(sink.entries, (std::vector<Entry>{{u"Line\nBreak", "de", u"Zeile\nUmbruch\tund \\q"},
                                                {u"Line\nBreak", "us", u"Line\nBreak"},
                                                {u"Media", "ru", u"Медиа"},
                                                {u"Media", "other", u"x"}}));
}

TEST(XmlTranslationReaderTest, MisplacedElementsStopAndKeepWhatCameBefore) {
    const std::string head =
        kBom + "<Translation><StringTable><String Key=\"A\"><de>a</de></String>";
    std::string nested257 = head; // two levels open
    for (int level = 3; level <= 257; ++level)
        nested257 += "<x>";
    const std::pair<std::string, const char*> cases[] = {
        {head + "<language key=\"de\">x</language>", "This tag is not supported in that context!"},
        {head + "</StringTable><String Key=\"B\"/>", "This tag is not supported in that context!"},
        {head + "</StringTable><LanguageTable><language>x</language>",
         "The language tag requires a single key/value pair!"},
        {head + "</StringTable><LanguageTable><language key=\"de\"><b/></language>",
         "This tag is not supported in that context!"},
        {head + "<String Key=\"B\"><de><b/></de>",
         "You haven't finished the previous translation!"},
        {nested257, "Elements nested too deeply (more than 256 levels)"},
    };
    for (const auto& [text, message] : cases) {
        RecordingSink sink;
        std::optional<ParseFailure> failure = readDocument(text, sink);
        ASSERT_TRUE(failure) << text;
        EXPECT_EQ(failure->message, message) << text;
        EXPECT_FALSE(failure->hasContext);
        EXPECT_EQ(sink.entries, (std::vector<Entry>{{u"A", "de", u"a"}}));
    }
}

TEST(XmlTranslationReaderTest, TruncatedOrInvalidDocumentsFailWithTheParserText) {
    const std::string complete = kBom + "<Translation>\n<StringTable>\n<String Key=\"A\"><de>a</de>"
                                        "</String>\n</StringTable>\n</Translation>\n";
    const std::string invalidUtf8 = kBom + "<Translation>\n<StringTable><String Key=\"\xC3\x28\">";
    for (const std::string& text :
         {complete.substr(0, complete.size() - 5), complete.substr(0, 20), invalidUtf8}) {
        RecordingSink sink;
        std::optional<ParseFailure> failure = readDocument(text, sink);
        ASSERT_TRUE(failure) << text;
        EXPECT_FALSE(failure->message.empty());
        EXPECT_GE(failure->line, 1);
    }
    RecordingSink sink;
    EXPECT_FALSE(readDocument(complete, sink));
}

} // namespace
} // namespace Brennovar::Zintara
