#include "localization/translation_table.h"
#include "localization_test_support.h"
#include "platform/code_page.h"

#include <dlfcn.h>
#include <expat.h>
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

std::u16string wide(std::string_view utf8) {
    std::u16string out;
    EXPECT_TRUE(Platform::multiByteToWide(Platform::kCodePageUtf8, utf8, out));
    return out;
}

// The document as a plain XML reading sees it, independent of the table: the languages of the
// language table and, per key, the (language, text) children in document order.
struct ResourceContent {
    std::vector<std::string> languages;
    std::vector<std::string> keys;
    std::map<std::string, std::vector<std::pair<std::string, std::string>>> texts;
    std::string element;
    std::string characters;
    int depth = 0;
};

ResourceContent parseIndependently(const std::string& bytes) {
    ResourceContent content;
    XML_Parser parser = XML_ParserCreate(nullptr);
    XML_SetUserData(parser, &content);
    XML_SetElementHandler(
        parser,
        [](void* data, const char* name, const char** attributes) {
            auto& c = *static_cast<ResourceContent*>(data);
            ++c.depth;
            c.characters.clear();
            if (std::string_view(name) == "language")
                c.languages.push_back(attributes[1]);
            if (std::string_view(name) == "String") {
                EXPECT_STREQ(attributes[0], "Key");
                c.keys.push_back(attributes[1]);
            }
        },
        [](void* data, const char* name) {
            auto& c = *static_cast<ResourceContent*>(data);
            if (c.depth == 4)
                c.texts[c.keys.back()].emplace_back(name, c.characters);
            --c.depth;
        });
    XML_SetCharacterDataHandler(parser, [](void* data, const char* text, int length) {
        static_cast<ResourceContent*>(data)->characters.append(text, length);
    });
    EXPECT_EQ(XML_Parse(parser, bytes.data(), static_cast<int>(bytes.size()), XML_TRUE),
              XML_STATUS_OK);
    XML_ParserFree(parser);
    return content;
}

TEST(TranslationResourceTest, HoldsNineLanguagesForEveryKeyThatAllRoundTrip) {
    std::string bytes = resourceBytes();
    ASSERT_GE(bytes.size(), 3u);
    EXPECT_EQ(bytes.substr(0, 3), "\xEF\xBB\xBF");
    ResourceContent content = parseIndependently(bytes);
    EXPECT_EQ(content.languages,
              std::vector<std::string>(std::begin(kLanguages), std::end(kLanguages)));
    EXPECT_EQ(content.keys.size(), content.texts.size()) << "every key once";
    for (const auto& [key, texts] : content.texts) {
        ASSERT_EQ(texts.size(), 9u) << key;
        for (std::size_t i = 0; i < texts.size(); ++i) {
            EXPECT_EQ(texts[i].first, kLanguages[i]) << key;
            EXPECT_FALSE(texts[i].second.empty()) << key;
            EXPECT_NE(texts[i].second, "=") << key;
        }
        EXPECT_EQ(texts[1].second, key);
    }
    // Every language round-trips through the table.
    for (std::size_t language = 0; language < std::size(kLanguages); ++language) {
        TranslationTable table(TranslationTable::Registration::kPrivate);
        table.initialiseForLanguage(kLanguages[language], TranslationTable::DocumentSources::kNone);
        ASSERT_EQ(table.loadFromMemory(bytes.data(), static_cast<int32>(bytes.size()), nullptr),
                  ResultOk);
        EXPECT_EQ(table.dictionarySize(), content.keys.size()) << kLanguages[language];
        // Every English text equals its key, so the default language adds nothing.
        EXPECT_EQ(table.defaultTextCount(), 0u);
        for (const std::string& key : content.keys) {
            std::u16string wideKey = wide(key);
            EXPECT_EQ(std::u16string_view(table.translate(wideKey.c_str())),
                      wide(content.texts[key][language].second))
                << kLanguages[language] << ": " << key;
        }
        // The command titles are not keys of the resource.
        const char16_t* title = u"Create Markers from Selected Events...";
        EXPECT_EQ(table.translate(title), title);
    }
}

// The module carries the document as its resource; a host loads it through loadTranslations.
TEST(TranslationResourceTest, LoadsTheModuleResourceOncePerIdentifier) {
    const char* path = std::getenv("ZINTARA_MODULE");
    ASSERT_NE(path, nullptr);
    void* module = dlopen(path, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(module, nullptr) << dlerror();
    Dl_info info{};
    ASSERT_NE(dladdr(dlsym(module, "GetPluginFactory"), &info), 0);
    TranslationTable table(TranslationTable::Registration::kPrivate);
    table.initialiseForLanguage("fr", TranslationTable::DocumentSources::kNone);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, u"translation.xml", u"zintara"), ResultOk);
    EXPECT_EQ(std::u16string_view(table.translate(u"Add Markers")), u"Ajouter des marqueurs");
    // Known identifiers are not loaded again, whatever the module.
    EXPECT_EQ(table.loadTranslations(nullptr, u"translation.xml", u"zintara"), ResultOk);
    EXPECT_EQ(table.loadTranslations(nullptr, u"translation.xml", u"other"), ResultFalse);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, u"missing.xml", nullptr), ResultFalse);
    EXPECT_EQ(table.loadTranslations(info.dli_fbase, nullptr, nullptr), ResultFalse);
    dlclose(module);
}

} // namespace
} // namespace Brennovar::Zintara
