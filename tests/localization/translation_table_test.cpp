#include "localization/language_code_table.h"
#include "localization/translation_table.h"
#include "localization_test_support.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

using Testing::ExactDocument;
using DocumentSources = TranslationTable::DocumentSources;

std::u16string_view text(const char16_t* value) {
    return value ? std::u16string_view(value) : u"(null)";
}

ResultCode load(TranslationTable& table, const std::string& document) {
    ExactDocument bytes(document);
    int32 out = 7;
    ResultCode result = table.loadFromMemory(bytes.data(), bytes.size(), &out);
    EXPECT_EQ(out, 0);
    return result;
}

std::string utf8Document(const std::string& strings) {
    return "\xEF\xBB\xBF<Translation><StringTable>" + strings + "</StringTable></Translation>";
}

TEST(TranslationTableTest, LookupFallsBackFromCurrentToDefaultToKeyAndTheFirstEntryWins) {
    TranslationTable table;
    table.initialiseForLanguage("de", DocumentSources::kNone);
    ASSERT_EQ(load(table, utf8Document(R"(<String Key="Both"><de>Beide</de><us>Both!</us></String>
        <String Key="English only"><fr>Anglais</fr><us>English text</us></String>
        <String Key="Same"><us>Same</us></String>
        <String Key="Twice"><us>First</us></String>
        <String Key="Before"><de>=</de><us>Before!</us></String>
        <String Key="After"><us>After!</us><de>=</de></String>
        <String Key="Alone"><de>=</de></String>
        <String Key="Before"><de>Zweiter</de></String>
        <String Key="Both"><de>Zweite</de><us>Second</us></String>
        <String Key="Twice"><us>Later</us></String>)")),
              ResultOk);
    const std::pair<const char16_t*, std::u16string_view> cases[] = {
        {u"Both", u"Beide"},     {u"English only", u"English text"},
        {u"Before", u"Before!"}, {u"After", u"After!"},
        {u"Alone", u"Alone"},    {u"Same", u"Same"},
        {u"Twice", u"First"}};
    for (const auto& [key, expected] : cases)
        EXPECT_EQ(text(table.lookup(key)), expected);
    // One indexed default text per key: an English text equal to its key adds none.
    EXPECT_EQ(table.defaultTextCount(), 5u);
    const char16_t* missing = u"Missing";
    EXPECT_EQ(table.lookup(missing), missing);
    EXPECT_EQ(table.lookup(nullptr), nullptr);
    table.setNullWhenMissing(true);
    EXPECT_EQ(table.lookup(missing), nullptr);
    EXPECT_EQ(text(table.lookup(u"English only")), u"English text");
}

TEST(TranslationTableTest, AddStringKeepsTheCurrentAndTheDefaultLanguageOnly) {
    struct Case {
        const char* current;
        const char* language;
        std::u16string text;
        ResultCode result;
        std::u16string lookup;
    };
    const Case cases[] = {
        {"de", "de", u"Taste", ResultOk, u"Taste"},
        {"de", "us", u"Key text", ResultOk, u"Key text"},
        {"de", "us", u"Key", ResultFalse, u"Key"},
        {"de", "us", u"=", ResultFalse, u"Key"},
        {"de", "fr", u"Clé", ResultFalse, u"Key"},
        {"de", "DE", u"Taste", ResultFalse, u"Key"},
        {"us", "us", u"Key text", ResultOk, u"Key text"},
        {"xx", "de", u"Taste", ResultOk, u"[Kèèy]"},
        {"xx", "us", u"Mine", ResultOk, u"[Mììnèè]"},
    };
    for (const Case& c : cases) {
        TranslationTable table;
        table.initialiseForLanguage(c.current, DocumentSources::kNone);
        EXPECT_EQ(table.addString(u"Key", c.language, c.text), c.result) << c.language;
        EXPECT_EQ(text(table.lookup(u"Key")), c.lookup) << c.current << "/" << c.language;
    }
}

TEST(TranslationTableTest, UnloadedOrDisabledTablesGiveTheKey) {
    TranslationTable table;
    const char16_t* key = u"Key";
    EXPECT_EQ(table.lookup(key), key);
    table.initialise(true);
    EXPECT_TRUE(table.isLoaded());
    EXPECT_EQ(table.addString(key, "us", u"Text"), ResultOk);
    EXPECT_EQ(table.lookup(key), key);
    EXPECT_EQ(load(table, utf8Document("")), ResultFalse);
    table.setNullWhenMissing(true);
    EXPECT_EQ(table.lookup(key), nullptr);
}

TEST(TranslationTableTest, GetStringCopiesWithinTheBuffer) {
    TranslationTable table;
    table.initialiseForLanguage("de", DocumentSources::kNone);
    table.addString(u"Add", "de", u"Hinzu");
    struct Case {
        const char16_t* key;
        bool withBuffer;
        int32 size;
        ResultCode result;
        std::u16string written;
    };
    const Case cases[] = {
        {nullptr, true, 8, ResultInvalidArgument, u"????????"},
        {u"Add", false, 8, ResultInvalidArgument, u"????????"},
        {u"Add", true, 0, ResultInvalidArgument, u"????????"},
        {u"Add", true, -1, ResultInvalidArgument, u"????????"},
        {u"Add", true, 1, ResultOk, std::u16string(1, u'\0') + u"???????"},
        {u"Add", true, 3, ResultOk, std::u16string(u"Hi") + u'\0' + u"?????"},
        {u"Add", true, 8, ResultOk, std::u16string(u"Hinzu") + u'\0' + u"??"},
        {u"Missing", true, 8, ResultOk, std::u16string(u"Missing") + u'\0'},
    };
    for (const Case& c : cases) {
        // Guards on both sides catch writes outside the buffer.
        std::u16string guarded(12, u'?');
        char16_t* buffer = c.withBuffer ? guarded.data() + 2 : nullptr;
        EXPECT_EQ(table.getString(c.key, buffer, c.size), c.result) << c.size;
        EXPECT_EQ(guarded, u"??" + c.written + u"??") << c.size;
    }
    table.setNullWhenMissing(true);
    std::u16string buffer(4, u'?');
    EXPECT_EQ(table.getString(u"Missing", buffer.data(), 4), ResultOk);
    EXPECT_EQ(buffer[0], u'\0');
}

TEST(TranslationTableTest, GetLanguageWritesTheCurrentOrTheSystemLanguage) {
    ScopedEnvironment lang("LANG", "fr_FR.UTF-8");
    TranslationTable table;
    char code[4] = "???";
    EXPECT_EQ(table.getLanguage(code), ResultOk);
    EXPECT_STREQ(code, "fr");
    table.initialiseForLanguage("jp", DocumentSources::kNone);
    EXPECT_EQ(table.getLanguage(code), ResultOk);
    EXPECT_STREQ(code, "jp");
    EXPECT_EQ(table.getLanguage(nullptr), ResultOk);
    EXPECT_EQ(table.unnamedOperation4(), ResultNotImplemented);
}

TEST(TranslationTableTest, AnswersBothServiceIdsAndCountsWithoutOwning) {
    TranslationTable table;
    for (const Guid& id :
         {ITranslationService::iid, ITranslationService::alternativeIid, FUnknown::iid}) {
        void* face = nullptr;
        ASSERT_EQ(table.queryInterface(id, &face), ResultOk);
        EXPECT_EQ(face, static_cast<ITranslationService*>(&table));
        EXPECT_EQ(static_cast<FUnknown*>(face)->release(), 1u);
    }
    void* face = &table;
    EXPECT_EQ(table.queryInterface(IDependent::iid, &face), ResultNoInterface);
    EXPECT_EQ(face, nullptr);
    EXPECT_EQ(table.queryInterface(ITranslationService::iid, nullptr), ResultInvalidArgument);
    // The table belongs to its owner; the last release does not destroy it.
    EXPECT_EQ(table.release(), 0u);
    EXPECT_EQ(table.addRef(), 1u);
}

TEST(LanguageCodeTableTest, MapsWindowsIdsAndCodes) {
    const std::pair<std::uint16_t, const char*> ids[] = {
        {0x07, "de"}, {0x11, "jp"}, {0x3E, "ms"}, {0x17, "us"}, {0xFFFF, "us"}};
    for (const auto& [id, code] : ids)
        EXPECT_STREQ(LanguageCodeTable::codeOfWindowsId(id), code) << id;
    const std::pair<const char*, int32> codes[] = {{"bp", 49}, {"zh", 9}, {"xx", 0}, {"d", 0}};
    for (const auto& [code, index] : codes)
        EXPECT_EQ(LanguageCodeTable::indexOfCode(code), index) << code;
}

} // namespace
} // namespace Brennovar::Zintara
