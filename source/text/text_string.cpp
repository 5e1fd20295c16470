#include "text/text_string.h"

#include "platform/code_page.h"
#include "text/char_units.h"

#include <algorithm>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace Brennovar {

namespace {

std::size_t unitSize(bool wide) {
    return wide ? sizeof(char16_t) : sizeof(char);
}

// The number of characters to copy from a text under the constructor's length rules, or
// kMaxLength + 1 when the text is too long to hold.
template <class Char>
std::size_t copyCount(const Char* text, int32 length, bool terminated) {
    if (!terminated)
        return length < 0 ? 0 : static_cast<std::size_t>(length);
    std::size_t limit = length < 0 ? ConstString::kMaxLength + 1 : static_cast<std::size_t>(length);
    return detail::countUntilTerminator(text, limit);
}

// A fresh malloc'ed, terminated copy of the first `count` characters.
template <class Char>
Char* terminatedCopy(const Char* text, std::size_t count) {
    auto* copy = static_cast<Char*>(std::malloc((count + 1) * sizeof(Char)));
    if (!copy)
        return nullptr;
    std::copy_n(text, count, copy);
    copy[count] = 0;
    return copy;
}

} // namespace

String::String() noexcept {
    setWide(true);
}

String::String(const char* text) noexcept : String(text, -1, true) {}

String::String(const char* text, int32 length, bool terminated) noexcept {
    assign(text, length, terminated);
}

String::String(const char* text, uint32 codePage, int32 length, bool terminated) noexcept
    : String(text, length, terminated) {
    convertToWide(codePage);
}

String::String(const char16_t* text, int32 length, bool terminated) noexcept {
    assign(text, length, terminated);
}

String::String(const String& other, int32 length) noexcept : ConstString() {
    assign(other, length);
}

String::String(String&& other) noexcept : ConstString(other) {
    other.buffer_ = nullptr;
    other.setStoredLength(0);
}

String& String::operator=(const String& other) noexcept {
    return assign(other);
}

String& String::operator=(String&& other) noexcept {
    if (&other != this) {
        std::free(buffer_);
        ConstString::operator=(other);
        other.buffer_ = nullptr;
        other.setStoredLength(0);
    }
    return *this;
}

String::~String() {
    std::free(buffer_);
}

const char* String::narrowText() const noexcept {
    narrow(Platform::kCodePageDefault);
    return ConstString::narrowText();
}

const char16_t* String::wideText() const noexcept {
    widen(Platform::kCodePageDefault);
    return ConstString::wideText();
}

char String::narrowCharAt(uint32 index) const noexcept {
    narrow(Platform::kCodePageDefault);
    return ConstString::narrowCharAt(index);
}

char16_t String::wideCharAt(uint32 index) const noexcept {
    widen(Platform::kCodePageDefault);
    return ConstString::wideCharAt(index);
}

String& String::assign(const ConstString& other, int32 length) noexcept {
    if (other.isEmpty() || length == 0) {
        clear(other.isWide());
        return *this;
    }
    std::size_t count = other.length();
    if (length >= 0)
        count = std::min<std::size_t>(count, static_cast<std::size_t>(length));
    if (other.rawBuffer() == buffer_ && other.isWide() == isWide() && count == storedLength())
        return *this;
    replaceWith(other.rawBuffer(), count, other.isWide());
    return *this;
}

String& String::assign(const char* text, int32 length, bool terminated) noexcept {
    if (text && text == buffer_)
        return *this;
    if (!text)
        clear(false);
    else
        replaceWith(text, copyCount(text, length, terminated), false);
    return *this;
}

String& String::assign(const char16_t* text, int32 length, bool terminated) noexcept {
    if (text && text == buffer_)
        return *this;
    if (!text)
        clear(true);
    else
        replaceWith(text, copyCount(text, length, terminated), true);
    return *this;
}

String& String::append(const ConstString& other, int32 length) noexcept {
    if (other.isEmpty() || length == 0)
        return *this;
    if (isEmpty())
        return assign(other, length);
    std::size_t count = other.length();
    if (length >= 0)
        count = std::min<std::size_t>(count, static_cast<std::size_t>(length));

    const void* tail = other.rawBuffer();
    std::u16string widened;
    if (isWide() && !other.isWide()) {
        std::string_view narrowTail(static_cast<const char*>(tail), count);
        if (!Platform::multiByteToWide(Platform::kCodePageDefault, narrowTail, widened))
            return *this;
        tail = widened.data();
        count = widened.size();
    } else if (!isWide() && other.isWide() && !widen(Platform::kCodePageDefault)) {
        return *this;
    }

    std::size_t oldLength = storedLength();
    if (count > kMaxLength - oldLength)
        return *this;
    // A fresh buffer rather than realloc: `other` may be a view of this very string.
    std::size_t unit = unitSize(isWide());
    auto* fresh = static_cast<char*>(std::malloc((oldLength + count + 1) * unit));
    if (!fresh)
        return *this;
    std::memcpy(fresh, buffer_, oldLength * unit);
    std::memcpy(fresh + oldLength * unit, tail, count * unit);
    std::memset(fresh + (oldLength + count) * unit, 0, unit);
    std::free(buffer_);
    buffer_ = fresh;
    setStoredLength(oldLength + count);
    return *this;
}

String& String::format(const char* format, ...) noexcept {
    if (!format) {
        clear(false);
        return *this;
    }
    // Formatted into a local buffer first, so that the arguments may point into this string.
    char formatted[4096];
    va_list arguments;
    va_start(arguments, format);
    int written = std::vsnprintf(formatted, sizeof formatted, format, arguments);
    va_end(arguments);
    if (written < 0) {
        clear(false);
        return *this;
    }
    return assign(formatted, std::min(written, 4095), true);
}

bool String::convertToWide(uint32 codePage) noexcept {
    return widen(codePage);
}

bool String::convertToNarrow(uint32 codePage) noexcept {
    return narrow(codePage);
}

bool String::resize(uint32 length, bool wide, bool pad) noexcept {
    if (length > kMaxLength)
        return false;
    if (length == 0) {
        clear(wide);
        return true;
    }
    std::size_t unit = unitSize(wide);
    auto* fresh = static_cast<char*>(std::realloc(buffer_, (std::size_t{length} + 1) * unit));
    if (!fresh)
        return false;
    // Characters of the other width mean nothing in the new one, so none are kept.
    std::size_t kept = wide == isWide() ? std::min<std::size_t>(storedLength(), length) : 0;
    if (wide) {
        auto* units = reinterpret_cast<char16_t*>(fresh);
        std::fill(units + kept, units + length, pad ? u' ' : u'\0');
        units[length] = 0;
    } else {
        std::fill(fresh + kept, fresh + length, pad ? ' ' : '\0');
        fresh[length] = 0;
    }
    buffer_ = fresh;
    setWide(wide);
    setStoredLength(kept);
    return true;
}

void String::adoptBuffer(void* buffer, bool wide) noexcept {
    if (buffer != buffer_) {
        std::free(buffer_);
        buffer_ = buffer;
        setWide(wide);
    }
    updateLength();
}

void String::updateLength() noexcept {
    if (!buffer_)
        setStoredLength(0);
    else if (isWide())
        setStoredLength(
            detail::countUntilTerminator(static_cast<const char16_t*>(buffer_), kMaxLength));
    else
        setStoredLength(
            detail::countUntilTerminator(static_cast<const char*>(buffer_), kMaxLength));
}

bool String::replaceWith(const void* text, std::size_t count, bool wide) noexcept {
    if (count == 0) {
        clear(wide);
        return true;
    }
    if (count > kMaxLength)
        return false;
    void* fresh =
        wide ? static_cast<void*>(terminatedCopy(static_cast<const char16_t*>(text), count))
             : static_cast<void*>(terminatedCopy(static_cast<const char*>(text), count));
    if (!fresh)
        return false;
    std::free(buffer_);
    buffer_ = fresh;
    setWide(wide);
    setStoredLength(count);
    return true;
}

void String::clear(bool wide) const noexcept {
    std::free(buffer_);
    buffer_ = nullptr;
    setStoredLength(0);
    setWide(wide);
}

// An empty string changes width without conversion. Its buffer (if any) is dropped rather than
// reinterpreted, since a one-byte 8-bit terminator would be read as half a 16-bit one.
bool String::widen(uint32 codePage) const noexcept {
    if (isWide())
        return true;
    if (isEmpty()) {
        clear(true);
        return true;
    }
    std::u16string converted;
    std::string_view text(static_cast<const char*>(buffer_), storedLength());
    if (!Platform::multiByteToWide(codePage, text, converted) || converted.empty() ||
        converted.size() > kMaxLength)
        return false;
    char16_t* fresh = terminatedCopy(converted.data(), converted.size());
    if (!fresh)
        return false;
    std::free(buffer_);
    buffer_ = fresh;
    setWide(true);
    setStoredLength(detail::countUntilTerminator(fresh, converted.size()));
    return true;
}

bool String::narrow(uint32 codePage) const noexcept {
    if (!isWide())
        return true;
    if (isEmpty()) {
        clear(false);
        return true;
    }
    std::string converted;
    std::u16string_view text(static_cast<const char16_t*>(buffer_), storedLength());
    if (!Platform::wideToMultiByte(codePage, text, converted) || converted.empty() ||
        converted.size() > kMaxLength)
        return false;
    char* fresh = terminatedCopy(converted.data(), converted.size());
    if (!fresh)
        return false;
    std::free(buffer_);
    buffer_ = fresh;
    setWide(false);
    setStoredLength(detail::countUntilTerminator(fresh, converted.size()));
    return true;
}

} // namespace Brennovar
