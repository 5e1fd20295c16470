#include "localization/module_translation_table.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara {
namespace {

TEST(ModuleTranslationTableTest, IsTheCurrentTableFromLoadOnAndProvidesTheTranslationService) {
    TranslationTable& module = moduleTranslationTable();
    EXPECT_EQ(TranslationTable::current(), &module);
    TranslationTable later;
    EXPECT_EQ(TranslationTable::current(), &module);
    void* face = nullptr;
    ASSERT_EQ(module.queryInterface(ITranslationService::iid, &face), ResultOk);
    auto* service = static_cast<ITranslationService*>(face);
    // The component never loads the table: every text is its own key.
    const char16_t* key = u"Add Markers";
    EXPECT_EQ(service->translate(key), key);
    service->release();
}

} // namespace
} // namespace Brennovar::Zintara
