#include "refhost/timeline/time_scale.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <limits>

namespace Brennovar::RefHost {

namespace {

constexpr double kLargest = std::numeric_limits<double>::max();

/// The smallest of 1, 2 or 5 times a power of ten that is at least `least` (> 0).
double niceStep(double least) {
    const double power = std::pow(10.0, std::floor(std::log10(least)));
    for (double factor : {1.0, 2.0, 5.0, 10.0})
        if (factor * power >= least)
            return factor * power;
    return 10.0 * power;
}

/// Fixed decimals for everyday positions; far-off ones in exponent form with enough digits to
/// tell ticks `step` apart.
std::string tickLabel(double value, double step, double magnitude) {
    char text[48];
    value += 0.0; // no "-0"
    if (magnitude < 1e9 && step >= 1e-6) {
        const int decimals =
            step >= 1.0 ? 0 : static_cast<int>(std::ceil(-std::log10(step) - 1e-9));
        std::snprintf(text, sizeof text, "%.*f", decimals, value);
    } else {
        const int digits =
            std::clamp(static_cast<int>(std::ceil(std::log10(magnitude / step) + 1e-9)) + 1, 1, 17);
        std::snprintf(text, sizeof text, "%.*g", digits, value);
    }
    return text;
}

} // namespace

TimeScale::TimeScale(double first, double last)
    : halfFirst_(std::clamp(first, -kLargest, kLargest) / 2.0),
      halfLast_(std::clamp(last, -kLargest, kLargest) / 2.0) {
    double halfSpan = halfLast_ - halfFirst_;
    if (!(halfSpan > 0.0)) {
        halfSpan = 0.5;
        halfLast_ = halfFirst_ + halfSpan;
    }
    const double wanted = halfSpan * 2.0 * kPixelsPerSecond;
    const double inner = std::clamp(wanted, double(kMinWidth), double(kMaxWidth));
    pixelsPerHalf_ = inner / halfSpan;
    width_ = static_cast<int>(std::lround(inner)) + 2 * kMargin;
}

int TimeScale::column(double seconds) const noexcept {
    if (std::isnan(seconds))
        return kMargin;
    const double half = std::clamp(seconds, -kLargest, kLargest) / 2.0;
    const double x = kMargin + (half - halfFirst_) * pixelsPerHalf_;
    return static_cast<int>(std::lround(std::clamp(x, 0.0, double(width_))));
}

std::vector<TimeScale::Tick> TimeScale::ticks() const {
    const double step = niceStep(kTickSpacing / pixelsPerSecond());
    const double magnitude = 2.0 * std::max(std::abs(halfFirst_), std::abs(halfLast_));
    // halfFirst_ / step * 2 rather than first / step: first itself may not be representable.
    const double firstIndex = std::ceil(halfFirst_ / step * 2.0);
    std::vector<Tick> ticks;
    if (!std::isfinite(firstIndex))
        return ticks;
    const int limit = width_ / kTickSpacing + 2;
    for (int i = 0; i < limit; ++i) {
        const double value = (firstIndex + i) * step;
        if (value / 2.0 > halfLast_)
            break;
        const int at = column(value);
        // Where the positions' precision is coarser than the step, ticks fall together.
        if (!ticks.empty() && at <= ticks.back().column)
            continue;
        ticks.push_back({at, tickLabel(value, step, magnitude)});
    }
    return ticks;
}

} // namespace Brennovar::RefHost
