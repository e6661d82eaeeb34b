// Ranges and round ticks of the trend chart.
#include "ReportChart.h"

#include <algorithm>
#include <cmath>

namespace report {

namespace {

constexpr int64_t kHour = 3600;
constexpr int kTargetTicks = 5;

// 1, 2 or 5 times a power of ten, near `range` / kTargetTicks.
double roundStep(double range) {
    const double raw = range / kTargetTicks;
    const double power = std::pow(10.0, std::floor(std::log10(raw)));
    for (const double m : {1.0, 2.0, 5.0}) {
        if (raw <= m * power) {
            return m * power;
        }
    }
    return 10 * power;
}

}  // namespace

std::optional<ChartScale> chartScale(const TrendChart& chart) {
    bool any = false;
    ChartScale s;
    double low = 0;
    double high = 0;
    for (const auto& series : chart.series) {
        for (const analysis::TrendPoint& p : series) {
            if (!std::isfinite(p.value)) {
                continue;
            }
            if (!any) {
                s.firstTime = s.lastTime = p.time;
                low = high = p.value;
                any = true;
            }
            s.firstTime = std::min(s.firstTime, p.time);
            s.lastTime = std::max(s.lastTime, p.time);
            low = std::min(low, p.value);
            high = std::max(high, p.value);
        }
    }
    if (!any) {
        return std::nullopt;
    }
    if (s.lastTime == s.firstTime) {
        s.firstTime -= kHour;
        s.lastTime += kHour;
    }
    if (high - low < 1e-6) {  // a flat line still gets a scale around it
        const double pad = std::max(std::fabs(high) * 0.1, 0.1);
        low -= pad;
        high += pad;
    }
    const double step = roundStep(high - low);
    s.low = std::floor(low / step) * step;
    s.high = std::ceil(high / step) * step;
    for (double t = s.low; t <= s.high + step * 0.5; t += step) {
        s.ticks.push_back(std::fabs(t) < step * 1e-9 ? 0.0 : t);
    }
    return s;
}

double timeFraction(const ChartScale& scale, int64_t time) {
    return static_cast<double>(time - scale.firstTime) /
           static_cast<double>(scale.lastTime - scale.firstTime);
}

double valueFraction(const ChartScale& scale, double value) {
    return (value - scale.low) / (scale.high - scale.low);
}

}  // namespace report
