#include "localization/printf_check_sink.h"

namespace Brennovar::Zintara {

namespace {

bool isAsciiLetter(char16_t c) {
    return (c >= u'a' && c <= u'z') || (c >= u'A' && c <= u'Z');
}

// The character after position i, or 0 past the end.
char16_t after(std::u16string_view text, std::size_t i) {
    return i + 1 < text.size() ? text[i + 1] : u'\0';
}

} // namespace

void PrintfCheckSink::addLanguage(std::string_view, std::u16string_view) noexcept {}

ResultCode PrintfCheckSink::addString(std::u16string_view key, std::string_view,
                                      std::u16string_view text) noexcept {
    if (text == u"=")
        return ResultOk;
    std::size_t inText = 0;
    for (std::size_t inKey = key.find(u'%'); inKey != std::u16string_view::npos;
         inKey = key.find(u'%', inKey + 1)) {
        inText = text.find(u'%', inText);
        if (inText == std::u16string_view::npos)
            break;
        char16_t expected = after(key, inKey);
        if (after(text, inText) != expected && isAsciiLetter(expected))
            return ResultFailed;
        ++inText;
    }
    return ResultOk;
}

} // namespace Brennovar::Zintara
