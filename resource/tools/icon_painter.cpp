#include "icon_painter.h"

#include <vector>

namespace Brennovar::Resources {

namespace {

struct Point {
    double x;
    double y;
};

// A convex polygon with its corners in clockwise or counter-clockwise order.
using Shape = std::vector<Point>;

Shape rectangle(double left, double top, double right, double bottom) {
    return {{left, top}, {right, top}, {right, bottom}, {left, bottom}};
}

bool inside(const Shape& shape, Point p) {
    bool positive = false;
    bool negative = false;
    for (std::size_t i = 0; i < shape.size(); ++i) {
        const Point a = shape[i];
        const Point b = shape[(i + 1) % shape.size()];
        const double side = (b.x - a.x) * (p.y - a.y) - (b.y - a.y) * (p.x - a.x);
        positive = positive || side > 0;
        negative = negative || side < 0;
    }
    return !(positive && negative);
}

// The six icons, left to right, in units of their 20 × 20 cell.
std::vector<std::vector<Shape>> iconShapes() {
    return {
        // add: a plus
        {rectangle(4, 9, 16, 11), rectangle(9, 4, 11, 16)},
        // remove: a minus
        {rectangle(4, 9, 16, 11)},
        // position marker: a flag head on a stem
        {{{5, 2}, {15, 2}, {15, 7}, {10, 11}, {5, 7}}, rectangle(9, 10, 11, 18)},
        // cycle marker: a bracket over a range
        {rectangle(3, 3, 17, 7), rectangle(3, 7, 5, 17), rectangle(15, 7, 17, 17)},
        // arrow right: a shaft and a head
        {rectangle(3, 9, 11, 11), {{10, 4}, {17, 10}, {10, 16}}},
        // pen: a slanted body with its point bottom left and a cap top right
        {{{6, 12}, {13, 5}, {15, 7}, {8, 14}},
         {{6, 12}, {8, 14}, {3, 17}},
         {{14, 4}, {15, 3}, {17, 5}, {16, 6}}},
    };
}

constexpr std::uint8_t kInk[] = {0xD8, 0xD8, 0xD8};
constexpr int kSamples = 8; // per pixel and direction

} // namespace

RgbaImage IconPainter::paint() const {
    const auto cell = static_cast<std::uint32_t>(kIconUnits * scale_);
    RgbaImage image;
    image.width = cell * kIconCount;
    image.height = cell;
    image.pixels.assign(std::size_t{image.width} * image.height * 4, 0);
    const std::vector<std::vector<Shape>> icons = iconShapes();
    for (std::uint32_t y = 0; y < image.height; ++y) {
        for (std::uint32_t x = 0; x < image.width; ++x) {
            const std::vector<Shape>& shapes = icons[x / cell];
            const double cellLeft = static_cast<double>(x / cell * cell);
            int covered = 0;
            for (int sy = 0; sy < kSamples; ++sy) {
                for (int sx = 0; sx < kSamples; ++sx) {
                    const Point p{(x - cellLeft + (sx + 0.5) / kSamples) / scale_,
                                  (y + (sy + 0.5) / kSamples) / scale_};
                    for (const Shape& shape : shapes) {
                        if (inside(shape, p)) {
                            ++covered;
                            break;
                        }
                    }
                }
            }
            if (covered == 0)
                continue;
            std::uint8_t* pixel = &image.pixels[(std::size_t{y} * image.width + x) * 4];
            pixel[0] = kInk[0];
            pixel[1] = kInk[1];
            pixel[2] = kInk[2];
            pixel[3] = static_cast<std::uint8_t>((covered * 255 + kSamples * kSamples / 2) /
                                                 (kSamples * kSamples));
        }
    }
    return image;
}

} // namespace Brennovar::Resources
