#pragma once

#include "module/funknown.h"

namespace Brennovar {

struct FTaggedValue;

/// A non-owning view of an 8-bit or a 16-bit text; the width belongs to the value, not the
/// class. It never allocates and never frees, which makes it the way to pass a literal to
/// `compare` without copying. A string is empty when its buffer is null or its length is 0.
///
/// The reading operations are const but may change a `String` in place (a `String` converts
/// itself to the asked width), so the buffer and the length word are mutable. A pointer obtained
/// from a `String` is valid only until the next reading operation of the other width.
class ConstString {
public:
    /// The longest length: the length field has 30 bits.
    static constexpr uint32 kMaxLength = (1u << 30) - 1;

    enum CompareMode : int32 {
        kCaseSensitive = 0,
        /// Folds only the letters A to Z.
        kCaseInsensitive = 1,
    };

    /// Empty, not wide.
    ConstString() noexcept = default;
    /// A view of the text; a negative length counts up to the terminator. Null gives empty.
    ConstString(const char* text, int32 length = -1) noexcept;
    ConstString(const char16_t* text, int32 length = -1) noexcept;
    /// A view into `other`'s buffer `offset` characters on (below 1 means 0), in `other`'s width.
    /// A negative length means the rest of `other`. Offset and length are kept inside `other`.
    ConstString(const ConstString& other, int32 offset, int32 length = -1) noexcept;
    /// An 8-bit view for type 4, a 16-bit view for type 0x20 (with or without the owner flag);
    /// any other value gives an empty string.
    explicit ConstString(const FTaggedValue& value) noexcept;
    ConstString(const ConstString&) noexcept = default;
    virtual ~ConstString();

    virtual uint32 length() const noexcept;
    /// The 8-bit text; a static empty text when the string is wide or its buffer is null.
    virtual const char* narrowText() const noexcept;
    /// The 16-bit text; a static empty text when the string is not wide or its buffer is null.
    virtual const char16_t* wideText() const noexcept;
    /// The buffer as stored, whatever its width. Writable only for a `String`'s own buffer.
    virtual void* rawBuffer() const noexcept;
    /// 0 when the index is not below the length, the buffer is null or the string is wide.
    virtual char narrowCharAt(uint32 index) const noexcept;
    /// 0 when the index is not below the length, the buffer is null or the string is not wide.
    virtual char16_t wideCharAt(uint32 index) const noexcept;

    bool isWide() const noexcept { return (word_ & kWideBit) != 0; }
    bool isEmpty() const noexcept { return !buffer_ || storedLength() == 0; }

    /// Three-way comparison: negative, 0 or positive (-1, 0, 1 here). Compares at most `length`
    /// characters when it is not negative; length 0 gives 0. An empty string sorts before any
    /// other. Texts of different widths are compared as 16-bit, the 8-bit side converted with
    /// code page 0. Each side ends at its length or at its first terminator, whichever is first.
    int32 compare(const ConstString& other, int32 length = -1,
                  CompareMode mode = kCaseSensitive) const noexcept;
    /// Catches `compare(text, kCaseInsensitive)`, which would otherwise pass the mode as length.
    int32 compare(const ConstString& other, CompareMode mode) const = delete;

protected:
    ConstString& operator=(const ConstString&) noexcept = default;

    uint32 storedLength() const noexcept { return word_ & kMaxLength; }
    /// Sets the length (cut to kMaxLength) and keeps the wide flag and the spare bit.
    void setStoredLength(std::size_t length) const noexcept;
    void setWide(bool wide) const noexcept;

    // The length (low 30 bits), the wide flag (bit 30) and one spare bit share one 32-bit word,
    // as in the original layout; the spare bit is never read and always kept.
    static constexpr uint32 kWideBit = 1u << 30;

    mutable void* buffer_ = nullptr;
    mutable uint32 word_ = 0;
};

} // namespace Brennovar
