#include "localization/module_translation_table.h"

namespace Brennovar::Zintara {

namespace {

// Constructed at load, before anything can look a text up, so it is the first table and
// becomes the current one.
TranslationTable moduleTable;

} // namespace

TranslationTable& moduleTranslationTable() noexcept {
    return moduleTable;
}

} // namespace Brennovar::Zintara
