#include "platform/code_page.h"

#include <climits>
#include <new>
#include <windows.h>

namespace Brennovar::Platform {

namespace {

bool isKnown(std::uint32_t codePage) {
    return codePage == kCodePageDefault || codePage == kCodePageJapanese ||
           codePage == kCodePageWestern || codePage == kCodePageUtf8;
}

bool isSurrogate(char16_t c) {
    return c >= 0xD800 && c <= 0xDFFF;
}

// No 8-bit code page of the interface holds a character beyond the basic plane or a lone
// surrogate; each becomes one '?' before Windows sees it, which would otherwise give one '?'
// per code unit.
std::u16string_view withoutSurrogates(std::u16string_view text, std::u16string& storage) {
    std::size_t i = 0;
    while (i < text.size() && !isSurrogate(text[i]))
        ++i;
    if (i == text.size())
        return text;
    storage.assign(text.substr(0, i));
    while (i < text.size()) {
        const char16_t c = text[i++];
        if (!isSurrogate(c)) {
            storage.push_back(c);
            continue;
        }
        if (c <= 0xDBFF && i < text.size() && text[i] >= 0xDC00 && text[i] <= 0xDFFF)
            ++i;
        storage.push_back(u'?');
    }
    return storage;
}

} // namespace

// Invalid input is an error in every code page (MB_ERR_INVALID_CHARS), so that UTF-8 is decoded
// strictly. Windows reports the size first, then converts into a buffer of exactly that size.
bool multiByteToWide(std::uint32_t codePage, std::string_view text, std::u16string& out) {
    out.clear();
    if (!isKnown(codePage) || text.size() > INT_MAX)
        return false;
    if (text.empty())
        return true;
    try {
        const int length = static_cast<int>(text.size());
        const int units =
            MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length, nullptr, 0);
        if (units <= 0)
            return false;
        out.resize(static_cast<std::size_t>(units));
        if (MultiByteToWideChar(codePage, MB_ERR_INVALID_CHARS, text.data(), length,
                                reinterpret_cast<wchar_t*>(out.data()), units) != units) {
            out.clear();
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}

// UTF-8 output turns lone surrogates into U+FFFD. The 8-bit code pages write '?' for what they
// cannot hold: no best-fit mapping, which would turn characters into look-alikes such as a
// full-width solidus into '/'.
bool wideToMultiByte(std::uint32_t codePage, std::u16string_view text, std::string& out) {
    out.clear();
    if (!isKnown(codePage))
        return false;
    try {
        std::u16string storage;
        if (codePage != kCodePageUtf8)
            text = withoutSurrogates(text, storage);
        if (text.empty())
            return true;
        if (text.size() > INT_MAX)
            return false;
        const DWORD flags = codePage == kCodePageUtf8 ? 0 : WC_NO_BEST_FIT_CHARS;
        const auto* wide = reinterpret_cast<const wchar_t*>(text.data());
        const int length = static_cast<int>(text.size());
        const int bytes =
            WideCharToMultiByte(codePage, flags, wide, length, nullptr, 0, nullptr, nullptr);
        if (bytes <= 0)
            return false;
        out.resize(static_cast<std::size_t>(bytes));
        if (WideCharToMultiByte(codePage, flags, wide, length, out.data(), bytes, nullptr,
                                nullptr) != bytes) {
            out.clear();
            return false;
        }
        return true;
    } catch (const std::bad_alloc&) {
        out.clear();
        return false;
    }
}

} // namespace Brennovar::Platform
