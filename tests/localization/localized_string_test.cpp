#include "localization/localized_string.h"
#include "localization/translation_table.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

TEST(LocalizedStringTest, IsLookedUpOnceOnly) {
    // Without a current table: the key.
    ASSERT_EQ(TranslationTable::current(), nullptr);
    static LocalizedString early(u"Add Markers");
    EXPECT_EQ(early.lookup(), early.key());
    TranslationTable table;
    static LocalizedString text(u"Media");
    // Not loaded yet: the key, and it stays the key.
    EXPECT_EQ(text.lookup(), text.key());
    table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
    table.addString(u"Media", "de", u"Medien");
    EXPECT_EQ(text.lookup(), text.key());
    static LocalizedString fresh(u"Media");
    EXPECT_EQ(std::u16string_view(fresh.lookup()), u"Medien");
}

TEST(LocalizedStringTest, MissingTextWithNullWhenMissingIsEmptyNotNull) {
    TranslationTable table;
    table.initialiseForLanguage("de", TranslationTable::DocumentSources::kNone);
    table.setNullWhenMissing(true);
    static LocalizedString text(u"Missing");
    static LocalizedString none(nullptr);
    ASSERT_NE(text.lookup(), nullptr);
    EXPECT_EQ(std::u16string_view(text.lookup()), u"");
    ASSERT_NE(none.lookup(), nullptr);
    EXPECT_EQ(std::u16string_view(none.lookup()), u"");
}

} // namespace
} // namespace Brennovar::Zintara
