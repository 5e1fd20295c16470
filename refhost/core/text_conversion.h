#pragma once

#include <string>
#include <string_view>

namespace Brennovar {
struct FTaggedValue;
}

namespace Brennovar::RefHost {

/// UTF-8 given to the host side as UTF-16; throws HostError for invalid UTF-8.
std::u16string utf16(std::string_view text);
/// UTF-16 as UTF-8; an unpaired surrogate becomes U+FFFD.
std::string utf8(std::u16string_view text);
/// The same into `out`, replacing what it held and keeping its storage for the next.
void utf8(std::u16string_view text, std::string& out);
/// A zero-terminated 16-bit text as UTF-8; empty for null.
std::string utf8(const char16_t* text);
/// An attribute's value as reports show it: a number, or its text as UTF-8; empty for no value.
std::string taggedValueText(const FTaggedValue& value);

} // namespace Brennovar::RefHost
