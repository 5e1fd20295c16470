#include "text/utf8_to_wide.h"

#include "platform/code_page.h"

namespace Brennovar::Zintara {

std::u16string utf8ToWide(const char* text, std::size_t byteCount) noexcept {
    std::u16string result;
    if (text && byteCount > 0)
        Platform::multiByteToWide(Platform::kCodePageUtf8, std::string_view(text, byteCount),
                                  result);
    return result;
}

} // namespace Brennovar::Zintara
