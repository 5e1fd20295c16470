#pragma once

#include <cstdint>

namespace Brennovar::Platform {

/// The primary language id (the low 10 bits of a Windows LANGID, e.g. 0x07 German) of the user's
/// UI language: GetUserDefaultUILanguage on Windows; on Linux from LC_ALL, LC_MESSAGES or LANG
/// (the first that is set and not empty), English (0x09) when none names a known language.
std::uint16_t userDefaultUiLanguage();

/// The system default language: GetSystemDefaultLangID on Windows; on Linux from LANG alone,
/// English (0x09) when unknown.
std::uint16_t systemDefaultLanguage();

} // namespace Brennovar::Platform
