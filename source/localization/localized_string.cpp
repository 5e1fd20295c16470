#include "localization/localized_string.h"

#include "localization/pseudo_localization.h"
#include "localization/translation_table.h"

namespace Brennovar::Zintara {

namespace {

constexpr const char16_t* kEmpty = u"";

} // namespace

const char16_t* LocalizedString::lookup() noexcept {
    if (const char16_t* cached = cached_.load())
        return cached;
    const char16_t* result = TranslationTable::lookupInCurrent(key_);
    const char16_t* value = kEmpty;
    if (result && result[0] != u'\0') {
        value = result;
    }
    // The very key came back: nothing translated it, so pseudolocalization may show it.
    if (result && result == key_ && isPseudoActive()) {
        if (const char16_t* pseudo = pseudoTranslate(key_))
            value = pseudo;
    }
    const char16_t* expected = nullptr;
    cached_.compare_exchange_strong(expected, value);
    return cached_.load();
}

} // namespace Brennovar::Zintara
