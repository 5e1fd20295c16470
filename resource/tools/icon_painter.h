#pragma once

#include "png_writer.h"

namespace Brennovar::Resources {

/// Draws the dialog's icon atlas: six icons of 20 × 20 units in one row (add, remove, position
/// marker, cycle marker, arrow right, pen), at `scale` pixels per unit. Every scale is drawn at
/// its own resolution: each pixel's coverage is sampled from the shapes, and the shapes lie on
/// whole units so that straight edges fall on pixel boundaries.
class IconPainter {
public:
    static constexpr int kIconCount = 6;
    static constexpr int kIconUnits = 20;

    explicit IconPainter(int scale) noexcept : scale_(scale) {}

    RgbaImage paint() const;

private:
    int scale_;
};

} // namespace Brennovar::Resources
