#pragma once

#include "localization/translation_table.h"

namespace Brennovar::Zintara {

/// The module's own translation table: a static object constructed when the module is loaded,
/// which makes it the module-wide current table. The component never initialises or fills it;
/// it translates through the host's service instead, so LocalizedString gives the keys. Inside
/// the module this table is the provider of ITranslationService (queryInterface answers that
/// id, its alternative id and FUnknown).
TranslationTable& moduleTranslationTable() noexcept;

} // namespace Brennovar::Zintara
