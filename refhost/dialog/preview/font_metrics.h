#pragma once

#include <string_view>

namespace Brennovar::RefHost {

/// The advance widths of the preview's font, DejaVu Sans (Debian's fonts-dejavu-core), so that
/// a text's width is known without a browser: the sum of its characters' advances at the
/// given pixel size. Latin, general punctuation and Cyrillic come from the font's own table;
/// CJK ideographs, kana and full-width forms take one em, as every CJK font draws them; any
/// other character counts as the font's widest Latin letter so that a guess never hides a
/// text that is too long.
class FontMetrics {
public:
    /// The family list the preview page names; the first one is the font measured here.
    static constexpr std::string_view kFontFamily =
        "'DejaVu Sans', 'WenQuanYi Micro Hei', sans-serif";

    /// The width in pixels of a UTF-8 text at `pixelSize` (invalid bytes count as unknown
    /// characters).
    static double textWidth(std::string_view utf8, double pixelSize) noexcept;
    /// The advance of one character in font units of 1/2048 em.
    static int advance(char32_t character) noexcept;
};

} // namespace Brennovar::RefHost
