// The scales of the report's resistance trend chart: the time and value ranges the series
// span and round value ticks, so the drawing only maps and draws. Pure, no Qt.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

#include "ReportModel.h"

namespace report {

struct ChartScale {
    int64_t firstTime = 0;
    int64_t lastTime = 0;  // > firstTime: a single moment is widened by an hour each side
    double low = 0;        // value range, widened to whole ticks
    double high = 0;
    std::vector<double> ticks;  // from low to high, a round step apart
};

// nullopt when no series has a point.
std::optional<ChartScale> chartScale(const TrendChart& chart);
// Where `time` and `value` fall in the scale, 0..1 from the first time and the low value.
double timeFraction(const ChartScale& scale, int64_t time);
double valueFraction(const ChartScale& scale, double value);

}  // namespace report
