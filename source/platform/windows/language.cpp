#include "platform/language.h"

#include <windows.h>

namespace Brennovar::Platform {

std::uint16_t userDefaultUiLanguage() {
    return PRIMARYLANGID(GetUserDefaultUILanguage());
}

std::uint16_t systemDefaultLanguage() {
    return PRIMARYLANGID(GetSystemDefaultLangID());
}

} // namespace Brennovar::Platform
