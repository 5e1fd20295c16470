#pragma once

#include <cstddef>
#include <iosfwd>
#include <string>
#include <string_view>

namespace Brennovar::RefHost {

/// Writes markup into a stream through a buffer of its own, so that a page of a hundred
/// thousand shapes costs no formatting beyond the digits. Texts from the project go through
/// text(), which escapes what markup would read as its own (& < > " ') and makes every text
/// readable and valid: a control character is shown as the tool's tables show it (\n, \x1b),
/// and bytes that are no UTF-8 become U+FFFD.
class SvgWriter {
public:
    explicit SvgWriter(std::ostream& out);
    /// Writes what is still buffered; finish() first to learn of a failing stream.
    ~SvgWriter();
    SvgWriter(const SvgWriter&) = delete;
    SvgWriter& operator=(const SvgWriter&) = delete;

    SvgWriter& raw(std::string_view markup);
    SvgWriter& number(long long value);
    /// A text from the project, escaped (see above), as element content or attribute value.
    SvgWriter& text(std::string_view text);
    /// Opens a path element, `<path class="CLASSES" d="` (no class when empty), for its
    /// boxes; the caller ends the attribute and the element.
    SvgWriter& path(std::string_view classes);
    /// A rectangle as a sub-path of the open path's data, "m dx dy h w v h h -w z": each box is
    /// placed relative to the one before it in the path, which keeps the digits few.
    SvgWriter& box(int x, int y, int width, int height);
    /// Writes the buffer into the stream.
    void finish();

private:
    void reserve(std::size_t more);

    std::ostream& out_;
    std::string buffer_;
    /// Where the path's last box starts (a sub-path ends where it started).
    int pathX_ = 0;
    int pathY_ = 0;
};

} // namespace Brennovar::RefHost
