#include "localization/translation_document_reader.h"
#include "localization/translation_table.h"
#include "localization/translation_tokenizer.h"
#include "localization_test_support.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

using Testing::ExactDocument;
using Testing::RecordingSink;

std::optional<ParseFailure> tokenize(std::string_view text, RecordingSink& sink) {
    ExactDocument document(text);
    return TranslationTokenizer(document.span(), sink, true).run();
}

std::string messageOf(std::string_view text) {
    RecordingSink sink;
    std::optional<ParseFailure> failure = tokenize(text, sink);
    return failure ? failure->message : "(accepted)";
}

// Each item has a limit of 32767 bytes and the terminator; the largest fitting item passes.
TEST(TranslationTokenizerTest, DocumentsGiveTheirMessagesUpToTheLimits) {
    const std::string st = "<StringTable>";
    const std::string str = st + "<String Key=\"a\">";
    const std::pair<std::string, const char*> cases[] = {
        {"<>", "Name is not legal"},
        {"< Translation>", "Name is not legal"},
        {"<Translation", "Name is not legal"},
        {"<Translation a=\"1\"", "Name is not legal"},
        {"<" + std::string(32768, 'a') + ">", "Name too int32"},
        {"<" + std::string(32767, 'a') + ">", "This tag is not supported in that context!"},
        {"<Translation a=b>", "Attribute value invalid (or too int32)"},
        {"<Translation a=\"b", "Attribute value invalid (or too int32)"},
        {"<Translation a=\"b\\\">", "Attribute value invalid (or too int32)"},
        {"<T a=\"" + std::string(32768, 'v') + "\">", "Attribute value invalid (or too int32)"},
        // Names and values of one element share the buffer: "T" and "a" take two bytes each.
        {"<T a=\"" + std::string(32764, 'v') + "\">", "Attribute value invalid (or too int32)"},
        {"<T a=\"" + std::string(32763, 'v') + "\">",
         "This tag doesn't support attributes (or unknown tag)!"},
        {"<Translation a \"b\">", "Attribute field not valid"},
        {"<T a=\"1\" b=\"2\" c=\"3\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\" i=\"9\">",
         "Too many attribute/value pairs"},
        {"<T a=\"1\" b=\"2\" c=\"3\" d=\"4\" e=\"5\" f=\"6\" g=\"7\" h=\"8\">",
         "This tag doesn't support attributes (or unknown tag)!"},
        {"<?" + std::string(32768, 'x') + "?>", "Too int32 processing instruction"},
        {"<?" + std::string(32767, 'x') + "?>", "(accepted)"},
        {"<?xml version=\"1.0\"", "Non closed processing instruction ( '<? ... ?>')"},
        {"<?xml ?", "Non closed processing instruction ( '<? ... ?>')"},
        {"<Translation></StringTable>", "Non expected end tag"},
        {"</Translation>", "Non expected end tag"},
        {"<Translation></Translation", "Non expected end tag"},
        {"<Translation></>", "Non expected end tag"},
        {"<!--" + std::string(32768, 'c') + "-->", "Too int32 comment"},
        {"<!--" + std::string(32767, 'c') + "-->", "(accepted)"},
        {"<!-- open", "Non closed comment"},
        {"<!-- open --", "Non closed comment"},
        {"<!DOCTYPE Translation>", "Non supported '<!' tag"},
        {"<Foo>", "This tag is not supported in that context!"},
        {"<LanguageTable><LanguageTable>", "This tag is not supported in that context!"},
        {"<LanguageTable><language key=\"de\"><b>", "This tag is not supported in that context!"},
        {"<Translation version=\"1\">", "This tag doesn't support attributes (or unknown tag)!"},
        {"<LanguageTable><language>", "The language tag requires a single key/value pair!"},
        {"<LanguageTable><language key=\"de\" name=\"x\">",
         "The language tag requires a single key/value pair!"},
        {"<LanguageTable><language code=\"de\">", "This tag doesnt support this attribute name!"},
        {str + "<String Key=\"b\">", "The string key is already set!"},
        {st + "<String>", "The string tag requires a single 'key' attribute with value!"},
        {st + "<String key=\"a\">", "The string tag doesn't support this attribute name!"},
        {st + "<de>", "You must set the string key first!"},
        {str + "<de x=\"1\">", "Attribute/value pairs are not supported in that context!"},
        {str + "<de><us>", "You haven't finished the previous translation!"},
        {"<LanguageTable>German", "The language code is not set! Can't read a language name yet!"},
        {"hello", "The context is not valid for raw text yet!"},
        {st + "text", "The key is not set!"},
        {str + "text", "The language is not set!"},
        {"<Translation><StringTable>", "Non closed tag at the end of the document"},
        {str + "<de>open", "Non closed tag at the end of the document"},
    };
    for (const auto& [document, message] : cases)
        EXPECT_EQ(messageOf(document), message) << document.substr(0, 80);
}

TEST(TranslationTokenizerTest, ReadsLanguagesAndTranslationsWithEscapesAndCodePages) {
    RecordingSink sink;
    std::string document = "<?xml version=\"1.0\" encoding=\"windows-1252\"?>\n"
                           "<!-- languages -->\n"
                           "<Translation>\n"
                           "<LanguageTable>\n"
                           "  <language key=\"de\">  Deutsch</language>\n"
                           "  <language key=\"fr\">Fran\xe7"
                           "ais</language>\n"
                           "</LanguageTable>\n"
                           "<StringTable>\n"
                           "  <String Key=\"Gr\xfc\xdf \\\"x\\\"\">\n"
                           "    <de>  Zeile\\nZwei\\t\\<b> \\\\ \\q \x80</de>\n"
                           // The trail bytes of 能, 濬, 纊 and 表 are 0x5C; doubled it stays
                           // one. 濬 and 纊 have lead bytes of the upper range.
                           "    <jp>\x93\xfa\x96\x7b\x8b\x40\x94\x5c\xe0\x5c\xfa\x5c</jp>\n"
                           "    <JP>\x93\xfa\x95\x5c\x5c</JP>\n"
                           "    <fr/>\n"
                           "  </String>\n"
                           "</StringTable>\n"
                           "</Translation>\n";
    ASSERT_FALSE(tokenize(document, sink));
    using Entry = RecordingSink::Entry;
    EXPECT_EQ(sink.languages, (std::vector<std::pair<std::string, std::u16string>>{
                                  {"de", u"Deutsch"}, {"fr", u"Français"}}));
    const std::u16string key = u"Grüß \"x\"";
    EXPECT_EQ(sink.entries, (std::vector<Entry>{{key, "de", u"  Zeile\nZwei\t<b> \\ \\q €"},
                                                {key, "jp", u"日本機能濬纊"},
                                                {key, "JP", u"日表"}}));
}

TEST(TranslationTokenizerTest, LineBreakPairsCountOnce) {
    const std::pair<std::string, int> cases[] = {
        {"x", 1},     {"\nx", 2},   {"\r\nx", 2},     {"\n\rx", 2},
        {"\n\nx", 3}, {"\r\rx", 3}, {"\r\n\r\nx", 3}, {"\n\r\nx", 3},
    };
    for (const auto& [document, line] : cases) {
        RecordingSink sink;
        std::optional<ParseFailure> failure = tokenize(document, sink);
        ASSERT_TRUE(failure);
        EXPECT_EQ(failure->line, line) << testing::PrintToString(document);
    }
}

TEST(TranslationTokenizerTest, ErrorReportShowsTheDocumentAroundTheError) {
    ExactDocument document("<Translation>\n<StringTable>\n<String Key=\"Add\">\n<de>Hinzu</de>\n"
                           "<xx y=\"1\">z</xx>\n</String>\n</StringTable>\n</Translation>\n");
    Testing::CapturedMessages captured;
    TranslationTable table;
    table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
    EXPECT_EQ(table.loadFromMemory(document.data(), document.size(), nullptr), ResultFalse);
    ASSERT_EQ(captured.messages.size(), 1u);
    EXPECT_EQ(captured.messages[0],
              "Attribute/value pairs are not supported in that context!\n\n"
              "<String Key=\"Add\">\n<de>Hinzu</de>\n"
              "  <====== HERE ======  "
              "<xx y=\"1\">z</xx>\n</String>\n</StringTable>\n</Translation>\n");
    // What came before the error stays in the table.
    EXPECT_EQ(std::u16string_view(table.translate(u"Add")), u"Hinzu");
}

TEST(TranslationTokenizerTest, ErrorReportContextIsLimited) {
    const ParseFailure failure{.message = "M", .position = 400, .hasContext = true};
    ExactDocument document(std::string(400, 'b') + std::string(250, 'a'));
    EXPECT_EQ(TranslationDocumentReader::report(document.span(), failure),
              "M\n\n" + std::string(300, 'b') + "  <====== HERE ======  " + std::string(200, 'a'));
}

} // namespace
} // namespace Brennovar::Zintara
