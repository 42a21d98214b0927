// Fewer points for a line that is drawn already: those needed to draw it
// within half a pixel at the chart's scale. A long roast then costs the
// chart the memory of its shape on screen rather than of every sample.
#pragma once

#include <vector>

struct CurvePoint {
    double x = 0;
    double y = 0;
    bool operator==(const CurvePoint& o) const { return x == o.x && y == o.y; }
};

// The points of the polyline `points` that draw it within
// `tolerance_pixels` (Douglas-Peucker), in order; `x_pixels` and `y_pixels`
// are the pixels of one unit of x and of y. The first and last points stay.
std::vector<CurvePoint> ThinLine(const std::vector<CurvePoint>& points, double x_pixels, double y_pixels,
                                 double tolerance_pixels = 0.5);
