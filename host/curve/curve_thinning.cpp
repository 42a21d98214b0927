#include "curve_thinning.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace {

// The distance in pixels from `p` to the segment from `a` to `b`.
double PixelDistance(const CurvePoint& p, const CurvePoint& a, const CurvePoint& b, double xs, double ys) {
    const double px = (p.x - a.x) * xs, py = (p.y - a.y) * ys;
    const double dx = (b.x - a.x) * xs, dy = (b.y - a.y) * ys;
    const double length2 = dx * dx + dy * dy;
    const double along = length2 > 0 ? std::clamp((px * dx + py * dy) / length2, 0.0, 1.0) : 0.0;
    return std::hypot(px - along * dx, py - along * dy);
}

}  // namespace

std::vector<CurvePoint> ThinLine(const std::vector<CurvePoint>& points, double x_pixels, double y_pixels,
                                 double tolerance_pixels) {
    const std::size_t n = points.size();
    if (n <= 2) return points;
    std::vector<bool> keep(n, false);
    keep.front() = keep.back() = true;
    std::vector<std::pair<std::size_t, std::size_t>> spans{{0, n - 1}};
    while (!spans.empty()) {
        const auto [first, last] = spans.back();
        spans.pop_back();
        double farthest = 0;
        std::size_t at = first;
        for (std::size_t i = first + 1; i < last; ++i) {
            const double d = PixelDistance(points[i], points[first], points[last], x_pixels, y_pixels);
            if (d > farthest) {
                farthest = d;
                at = i;
            }
        }
        if (farthest <= tolerance_pixels) continue;
        keep[at] = true;
        spans.push_back({first, at});
        spans.push_back({at, last});
    }
    std::vector<CurvePoint> kept;
    for (std::size_t i = 0; i < n; ++i)
        if (keep[i]) kept.push_back(points[i]);
    return kept;
}
