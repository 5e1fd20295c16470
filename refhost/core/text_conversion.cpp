#include "refhost/core/text_conversion.h"

#include "module/tagged_value.h"
#include "platform/code_page.h"
#include "refhost/core/host_error.h"

#include <type_traits>

namespace Brennovar::RefHost {

namespace {

// Most texts of a project (names, keys) are ASCII, which converts unit by unit.
template <class Unit>
bool isAscii(std::basic_string_view<Unit> text) noexcept {
    for (Unit unit : text)
        if (static_cast<std::make_unsigned_t<Unit>>(unit) >= 0x80)
            return false;
    return true;
}

} // namespace

std::u16string utf16(std::string_view text) {
    if (isAscii(text))
        return std::u16string(text.begin(), text.end());
    std::u16string wide;
    if (!Platform::multiByteToWide(Platform::kCodePageUtf8, text, wide))
        throw HostError(kExitBadInput, "invalid UTF-8 in \"" + std::string(text) + "\"");
    return wide;
}

std::string utf8(std::u16string_view text) {
    std::string narrow;
    utf8(text, narrow);
    return narrow;
}

void utf8(std::u16string_view text, std::string& out) {
    if (isAscii(text))
        out.assign(text.begin(), text.end());
    else
        Platform::wideToMultiByte(Platform::kCodePageUtf8, text, out);
}

std::string utf8(const char16_t* text) {
    return text ? utf8(std::u16string_view(text)) : std::string();
}

std::string taggedValueText(const FTaggedValue& value) {
    switch (value.kind()) {
    case FTaggedValue::kInteger:
        return std::to_string(value.integer);
    case FTaggedValue::kString8:
        return value.string8 ? value.string8 : "";
    case FTaggedValue::kString16:
        return utf8(value.string16);
    default:
        return {};
    }
}

} // namespace Brennovar::RefHost
