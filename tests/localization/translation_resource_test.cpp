#include "localization/translation_document_reader.h"
#include "localization/translation_table.h"
#include "localization_test_support.h"
#include "support/loaded_module.h"

#include <dlfcn.h>
#include <fstream>
#include <gtest/gtest.h>
#include <map>

namespace Brennovar::Zintara {
namespace {

const char* const kLanguages[] = {"de", "us", "es", "fr", "it", "jp", "pt", "ru", "zh"};

std::string resourceBytes() {
    std::ifstream file(ZINTARA_TRANSLATION_DOCUMENT, std::ios::binary);
    return {std::istreambuf_iterator<char>(file), std::istreambuf_iterator<char>()};
}

// The document as the reader passes it on: the languages of the language table and, per key,
// the (language, text) children in document order.
struct ResourceContent {
    std::vector<std::string> languages;
    std::map<std::u16string, std::vector<std::pair<std::string, std::u16string>>> texts;
};

ResourceContent contentOf(const std::string& bytes) {
    Testing::RecordingSink sink;
    Testing::ExactDocument document(bytes);
    EXPECT_FALSE(TranslationDocumentReader::read(document.span(), sink, true));
    ResourceContent content;
    for (const auto& [code, name] : sink.languages)
        content.languages.push_back(code);
    for (const auto& entry : sink.entries)
        content.texts[entry.key].emplace_back(entry.language, entry.text);
    return content;
}

TEST(TranslationResourceTest, HoldsNineLanguagesForEveryKeyThatAllRoundTrip) {
    std::string bytes = resourceBytes();
    EXPECT_TRUE(bytes.starts_with("\xEF\xBB\xBF"));
    ResourceContent content = contentOf(bytes);
    EXPECT_EQ(content.languages,
              std::vector<std::string>(std::begin(kLanguages), std::end(kLanguages)));
    for (const auto& [key, texts] : content.texts) {
        const std::string name = testing::PrintToString(key);
        ASSERT_EQ(texts.size(), 9u) << name << ": every key once, in every language";
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].first, kLanguages[i]) << name;
            EXPECT_FALSE(texts[i].second.empty()) << name;
            EXPECT_NE(texts[i].second, u"=") << name;
        }
        EXPECT_EQ(texts[1].second, key);
    }
    // Every language round-trips through the table.
    for (std::size_t language = 0; language < std::size(kLanguages); ++language) {
        TranslationTable table(TranslationTable::Registration::kPrivate);
        table.initialiseForLanguage(kLanguages[language], TranslationTable::DocumentSources::kNone);
        ASSERT_EQ(table.loadFromMemory(bytes.data(), static_cast<int32>(bytes.size()), nullptr),
                  ResultOk);
        EXPECT_EQ(table.dictionarySize(), content.texts.size()) << kLanguages[language];
        for (const auto& [key, texts] : content.texts) {
            EXPECT_EQ(std::u16string_view(table.translate(key.c_str())), texts[language].second)
                << kLanguages[language] << ": " << testing::PrintToString(key);
        }
        // The command titles are not keys of the resource.
        const char16_t* title = u"Create Markers from Selected Events...";
        EXPECT_EQ(table.translate(title), title);
    }
}

// The module carries the document as its resource; a host loads it through loadTranslations.
TEST(TranslationResourceTest, LoadsTheModuleResourceOncePerIdentifier) {
    Brennovar::Testing::LoadedModule module;
    Dl_info info{};
    ASSERT_NE(dladdr(reinterpret_cast<void*>(module.getPluginFactory), &info), 0);
    TranslationTable table(TranslationTable::Registration::kPrivate);
    table.initialiseForLanguage("fr", TranslationTable::DocumentSources::kNone);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, u"translation.xml", u"zintara"), ResultOk);
    EXPECT_EQ(std::u16string_view(table.translate(u"Add Markers")), u"Ajouter des marqueurs");
    // Known identifiers are not loaded again, whatever the module.
    EXPECT_EQ(table.loadTranslations(nullptr, u"translation.xml", u"zintara"), ResultOk);
    EXPECT_EQ(table.loadTranslations(nullptr, u"translation.xml", u"other"), ResultFalse);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, u"missing.xml", nullptr), ResultFalse);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, nullptr, nullptr), ResultFalse);
}

} // namespace
} // namespace Brennovar::Zintara
