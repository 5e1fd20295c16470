#include "refhost/core/text_conversion.h"

#include "module/tagged_value.h"
#include "platform/code_page.h"
#include "refhost/core/host_error.h"

namespace Brennovar::RefHost {

std::u16string utf16(std::string_view text) {
    std::u16string wide;
    if (!Platform::multiByteToWide(Platform::kCodePageUtf8, text, wide))
        throw HostError(kExitBadInput, "invalid UTF-8 in \"" + std::string(text) + "\"");
    return wide;
}

std::string utf8(std::u16string_view text) {
    std::string narrow;
    Platform::wideToMultiByte(Platform::kCodePageUtf8, text, narrow);
    return narrow;
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
