#pragma once

#include "text/const_string.h"

namespace Brennovar {

/// An owning string that holds 8-bit or 16-bit text and converts between the two in place.
///
/// The buffer comes from malloc/realloc/free (a host may adopt or free it), is exactly length + 1
/// characters and always terminated. Nothing throws: an allocation failure leaves the string as it
/// was (a constructor leaves it empty) and shows only in the results of `resize`, `convertToWide`
/// and `convertToNarrow`.
///
/// Reading an 8-bit string with `wideText` or `wideCharAt` converts it to 16-bit with code page
/// 0, and reading a 16-bit string with `narrowText` or `narrowCharAt` converts it to 8-bit; a
/// pointer obtained earlier from the same string is then no longer valid. Not synchronised.
///
/// Code pages are numeric as in `platform/code_page.h`: 0 is the default 8-bit code page, 65001
/// is strict UTF-8.
class String : public ConstString {
public:
    /// Empty and wide.
    String() noexcept;
    /// An 8-bit copy of the text up to its terminator. Null gives an empty string.
    explicit String(const char* text) noexcept;
    /// An 8-bit copy. With `terminated` the length is the smaller of `length` (when not negative)
    /// and the text's own length; without it, exactly `length` bytes (a negative length gives an
    /// empty string). Deliberately has no defaults, so that `String(text, 65001)` always means
    /// the code-page constructor below.
    String(const char* text, int32 length, bool terminated) noexcept;
    /// An 8-bit copy as above, then `convertToWide(codePage)`; when that fails the string stays
    /// the 8-bit copy.
    String(const char* text, uint32 codePage, int32 length = -1, bool terminated = true) noexcept;
    /// A 16-bit copy; length rules as for the 8-bit copy.
    explicit String(const char16_t* text, int32 length = -1, bool terminated = true) noexcept;
    /// A copy in `other`'s width, of at most `length` characters when it is not negative.
    String(const String& other, int32 length = -1) noexcept;
    String(String&& other) noexcept;
    String& operator=(const String& other) noexcept;
    String& operator=(String&& other) noexcept;
    ~String() override;

    const char* narrowText() const noexcept override;
    const char16_t* wideText() const noexcept override;
    char narrowCharAt(uint32 index) const noexcept override;
    char16_t wideCharAt(uint32 index) const noexcept override;

    /// A copy of `other`'s text in its width, cut to `length` when not negative. Assigning a view
    /// of this string's own text (all or part of it) is safe.
    String& assign(const ConstString& other, int32 length = -1) noexcept;
    /// An 8-bit copy; length rules as for the constructor.
    String& assign(const char* text, int32 length = -1, bool terminated = true) noexcept;
    String& assign(const char16_t* text, int32 length = -1, bool terminated = true) noexcept;

    /// Appends at most `length` characters of `other`. The result is wide when either side is:
    /// 8-bit text appended to a wide string is converted with code page 0; 16-bit text appended
    /// to an 8-bit string first widens the receiver (and appends nothing if that fails).
    /// Appending to an empty string is an `assign`.
    String& append(const ConstString& other, int32 length = -1) noexcept;

    /// printf-style formatting into at most 4095 characters, assigned as 8-bit text; longer
    /// output is cut. A null format or an encoding error gives an empty 8-bit string.
    [[gnu::format(printf, 2, 3)]] String& format(const char* format, ...) noexcept;

    /// Converts 8-bit text to 16-bit in place. True on success or when already wide; an empty
    /// string is only marked wide. On failure nothing changes.
    bool convertToWide(uint32 codePage) noexcept;
    /// Converts 16-bit text to 8-bit in place; unmappable characters become '?'. True on success
    /// or when already 8-bit; on failure nothing changes.
    bool convertToNarrow(uint32 codePage) noexcept;

    /// Gives the buffer room for `length` characters of the given width plus the terminator and
    /// sets the wide flag, so that a caller can fill `rawBuffer` and then call `updateLength`.
    /// Characters up to min(old length, `length`) are kept when the width stays; the others are
    /// spaces with `pad`, else 0. The length field is left alone except that it is cut to the
    /// characters kept (0 when the width changes). Length 0 frees the buffer. False when memory
    /// runs out (nothing changes) or the length is above kMaxLength.
    bool resize(uint32 length, bool wide, bool pad) noexcept;
    /// Frees the current buffer and takes the caller's malloc'ed, terminated buffer of the given
    /// width; the string frees it later. Null gives an empty string. Adopting the string's own
    /// buffer only recounts the length.
    void adoptBuffer(void* buffer, bool wide) noexcept;
    /// Recounts the length up to the first terminator.
    void updateLength() noexcept;

private:
    /// Replaces the text with a fresh copy of `count` characters at `text` in the given width.
    /// Works when `text` points into the current buffer. False (nothing changed) when memory
    /// runs out.
    bool replaceWith(const void* text, std::size_t count, bool wide) noexcept;
    /// Frees the buffer; the string becomes empty in the given width.
    void clear(bool wide) const noexcept;
    bool widen(uint32 codePage) const noexcept;
    bool narrow(uint32 codePage) const noexcept;
};

} // namespace Brennovar
