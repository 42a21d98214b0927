#include "rate_of_rise.h"

void RateOfRise::Add(double seconds, double degrees) {
    points_.push_back({seconds, degrees});
    while (!points_.empty() && points_.front().seconds < seconds - kRateWindowSeconds) points_.pop_front();
}

std::optional<double> RateOfRise::PerMinute() const {
    if (points_.size() < 2 || points_.back().seconds - points_.front().seconds < kRateMinimumSpanSeconds)
        return std::nullopt;
    // Centred on the window's mean time, which keeps the sums small.
    double mean_t = 0, mean_y = 0;
    for (const Point& p : points_) {
        mean_t += p.seconds;
        mean_y += p.degrees;
    }
    const double n = static_cast<double>(points_.size());
    mean_t /= n;
    mean_y /= n;
    double sum_ty = 0, sum_tt = 0;
    for (const Point& p : points_) {
        sum_ty += (p.seconds - mean_t) * (p.degrees - mean_y);
        sum_tt += (p.seconds - mean_t) * (p.seconds - mean_t);
    }
    return sum_ty / sum_tt * 60.0;
}
