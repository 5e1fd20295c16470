#pragma once

#include <string>
#include <vector>

namespace Brennovar::RefHost {

/// Seconds to pixel columns for a timeline, chosen from the extent it draws: 10 px a second
/// where that makes the extent between 1 200 and 16 000 px wide, otherwise the scale that fits
/// it into the nearer of those widths (a long project scrolls; a very long one gets fewer pixels
/// a second). A margin of kMargin px lies on either side.
///
/// Any finite positions work, negative ones and ones near the largest double included: the
/// scale computes with halves of the positions, so no difference overflows. A time outside the
/// extent, an infinite one included, maps to the nearer edge.
class TimeScale {
public:
    static constexpr double kPixelsPerSecond = 10.0;
    static constexpr int kMinWidth = 1200;
    static constexpr int kMaxWidth = 16000;
    static constexpr int kMargin = 12;
    /// Ruler ticks lie at least this far apart.
    static constexpr int kTickSpacing = 80;

    /// The scale for the extent from `first` to `last` seconds (first <= last); an extent of no
    /// length is drawn as one second from `first`.
    TimeScale(double first, double last);

    /// The width in pixels, margins included.
    int width() const noexcept { return width_; }
    double pixelsPerSecond() const noexcept { return pixelsPerHalf_ / 2.0; }
    /// The pixel column of a time, rounded and kept within [0, width()]; NaN maps to the left
    /// edge of the extent.
    int column(double seconds) const noexcept;

    struct Tick {
        int column;
        /// The time in seconds, with as many digits as tell neighbouring ticks apart.
        std::string label;
    };
    /// The ruler's ticks at whole multiples of 1, 2 or 5 times a power of ten, in order, at
    /// most one a column.
    std::vector<Tick> ticks() const;

private:
    double halfFirst_;
    double halfLast_;
    double pixelsPerHalf_;
    int width_;
};

} // namespace Brennovar::RefHost
