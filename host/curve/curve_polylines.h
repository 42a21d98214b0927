// A log's curve traced whole into polylines, for drawing it in one go (the
// background roast): the bean-temperature lines, each heating or cooling,
// and the rate-of-rise lines. Step marks and cooling periods are left out.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "curve_thinning.h"
#include "curve_tracer.h"

class CurvePolylines final : public CurveSink {
public:
    struct Line {
        bool rate = false;
        bool cooling = false;
        std::vector<CurvePoint> points;
    };
    const std::vector<Line>& lines() const { return lines_; }

    void BeginBeanLine(bool cooling) override {
        bean_ = lines_.size();
        lines_.push_back({false, cooling, {}});
    }
    void AddBeanPoint(double seconds, double degrees) override { lines_[bean_].points.push_back({seconds, degrees}); }
    void BeginRateLine() override {
        rate_ = lines_.size();
        lines_.push_back({true, false, {}});
    }
    void AddRatePoint(double seconds, double rate) override { lines_[rate_].points.push_back({seconds, rate}); }
    void AddMark(double, const std::string&) override {}
    void BeginCooling(double) override {}
    void ExtendCooling(double) override {}

private:
    std::vector<Line> lines_;
    std::size_t bean_ = 0;  // the lines the next points join
    std::size_t rate_ = 0;
};
