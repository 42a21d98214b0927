// The rate of rise of the bean temperature: the least-squares slope of the
// raw readings over the last 30 seconds, in degrees per minute. None until
// the readings in that window span 10 seconds, so the first seconds of a
// roast, and of the readings after a long silence of the link, show no
// figure rather than a wild one.
#pragma once

#include <deque>
#include <optional>

constexpr double kRateWindowSeconds = 30.0;
constexpr double kRateMinimumSpanSeconds = 10.0;

class RateOfRise {
public:
    // A reading at `seconds` (never earlier than the last one).
    void Add(double seconds, double degrees);
    // Degrees per minute over the window ending at the last reading.
    std::optional<double> PerMinute() const;
    void Clear() { points_.clear(); }

private:
    struct Point {
        double seconds;
        double degrees;
    };
    std::deque<Point> points_;
};

// A temperature difference in the unit the panel shows.
inline double DegreesInUnit(double fahrenheit_difference, bool celsius) {
    return celsius ? fahrenheit_difference * 5.0 / 9.0 : fahrenheit_difference;
}
