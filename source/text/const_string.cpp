#include "text/const_string.h"

#include "module/tagged_value.h"
#include "platform/code_page.h"
#include "text/char_units.h"

#include <algorithm>
#include <string>

namespace Brennovar {

namespace {

constexpr char kEmptyNarrow[1] = {0};
constexpr char16_t kEmptyWide[1] = {0};

unsigned folded(unsigned c, ConstString::CompareMode mode) {
    if (mode == ConstString::kCaseInsensitive && c >= 'A' && c <= 'Z')
        return c + ('a' - 'A');
    return c;
}

// Each side ends at its length or at its first terminator; past the end it reads as 0, so a
// shorter text sorts before a longer one that it begins.
template <class Char>
int32 compareUnits(const Char* a, std::size_t lengthA, const Char* b, std::size_t lengthB,
                   int32 limit, ConstString::CompareMode mode) {
    for (std::size_t i = 0; limit < 0 || i < static_cast<std::size_t>(limit); ++i) {
        unsigned ca = folded(i < lengthA ? detail::codeOf(a[i]) : 0, mode);
        unsigned cb = folded(i < lengthB ? detail::codeOf(b[i]) : 0, mode);
        if (ca != cb)
            return ca < cb ? -1 : 1;
        if (ca == 0)
            return 0;
    }
    return 0;
}

std::size_t countedLength(const void* text, int32 length, bool wide) {
    if (!text)
        return 0;
    if (length >= 0)
        return std::min<std::size_t>(static_cast<std::size_t>(length), ConstString::kMaxLength);
    return wide ? detail::countUntilTerminator(static_cast<const char16_t*>(text),
                                               ConstString::kMaxLength)
                : detail::countUntilTerminator(static_cast<const char*>(text),
                                               ConstString::kMaxLength);
}

} // namespace

ConstString::ConstString(const char* text, int32 length) noexcept
    : buffer_(const_cast<char*>(text)) {
    setStoredLength(countedLength(text, length, false));
}

ConstString::ConstString(const char16_t* text, int32 length) noexcept
    : buffer_(const_cast<char16_t*>(text)) {
    setWide(true);
    setStoredLength(countedLength(text, length, true));
}

ConstString::ConstString(const ConstString& other, int32 offset, int32 length) noexcept {
    setWide(other.isWide());
    if (!other.buffer_)
        return;
    std::size_t available = other.storedLength();
    std::size_t start =
        std::min<std::size_t>(offset < 1 ? 0 : static_cast<std::size_t>(offset), available);
    std::size_t rest = available - start;
    std::size_t unit = other.isWide() ? sizeof(char16_t) : sizeof(char);
    buffer_ = static_cast<char*>(other.buffer_) + start * unit;
    setStoredLength(length < 0 ? rest
                               : std::min<std::size_t>(static_cast<std::size_t>(length), rest));
}

ConstString::ConstString(const FTaggedValue& value) noexcept {
    if (value.kind() == FTaggedValue::kString8)
        *this = ConstString(value.string8);
    else if (value.kind() == FTaggedValue::kString16)
        *this = ConstString(value.string16);
}

ConstString::~ConstString() = default;

uint32 ConstString::length() const noexcept {
    return storedLength();
}

const char* ConstString::narrowText() const noexcept {
    if (isWide() || !buffer_)
        return kEmptyNarrow;
    return static_cast<const char*>(buffer_);
}

const char16_t* ConstString::wideText() const noexcept {
    if (!isWide() || !buffer_)
        return kEmptyWide;
    return static_cast<const char16_t*>(buffer_);
}

void* ConstString::rawBuffer() const noexcept {
    return buffer_;
}

char ConstString::narrowCharAt(uint32 index) const noexcept {
    if (isWide() || !buffer_ || index >= storedLength())
        return 0;
    return static_cast<const char*>(buffer_)[index];
}

char16_t ConstString::wideCharAt(uint32 index) const noexcept {
    if (!isWide() || !buffer_ || index >= storedLength())
        return 0;
    return static_cast<const char16_t*>(buffer_)[index];
}

int32 ConstString::compare(const ConstString& other, int32 length,
                           CompareMode mode) const noexcept {
    if (length == 0)
        return 0;
    if (other.isEmpty())
        return isEmpty() ? 0 : 1;
    if (isEmpty())
        return -1;
    if (isWide() == other.isWide()) {
        if (isWide())
            return compareUnits(static_cast<const char16_t*>(buffer_), storedLength(),
                                static_cast<const char16_t*>(other.buffer_), other.storedLength(),
                                length, mode);
        return compareUnits(static_cast<const char*>(buffer_), storedLength(),
                            static_cast<const char*>(other.buffer_), other.storedLength(), length,
                            mode);
    }
    // Mixed widths: the 8-bit side is compared as a 16-bit copy; the order of the sides stays.
    const ConstString& narrow = isWide() ? other : *this;
    const ConstString& wide = isWide() ? *this : other;
    std::u16string widened;
    if (!Platform::multiByteToWide(
            Platform::kCodePageDefault,
            std::string_view(static_cast<const char*>(narrow.buffer_), narrow.storedLength()),
            widened))
        return -1;
    const auto* wideUnits = static_cast<const char16_t*>(wide.buffer_);
    if (isWide())
        return compareUnits(wideUnits, storedLength(), widened.data(), widened.size(), length,
                            mode);
    return compareUnits(widened.data(), widened.size(), wideUnits, other.storedLength(), length,
                        mode);
}

void ConstString::setStoredLength(std::size_t length) const noexcept {
    word_ = (word_ & ~kMaxLength) | static_cast<uint32>(std::min<std::size_t>(length, kMaxLength));
}

void ConstString::setWide(bool wide) const noexcept {
    word_ = wide ? (word_ | kWideBit) : (word_ & ~kWideBit);
}

} // namespace Brennovar
