// The chart's two axes worked out without Qt: a value axis that follows the samples shown
// (or stays fixed), in round steps and any unit, and time ticks at round local times that
// carry the date once the window spans days.
#pragma once

#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

struct TimeWindow {
    int32_t start = 0;
    int32_t end = 0;
};

struct ValueRange {
    double low = 0;
    double high = 15;
};

// How the value axis is written and where it runs. A later chart of other quantities (an
// internal resistance over records, say) sets its own unit and steps.
struct ValueAxis {
    std::string unit = "V";           // written after every value label
    int minDecimals = 1;              // labels carry at least this many decimals
    double minSpan = 0.1;             // a following axis never shows less (a flat curve)
    std::optional<ValueRange> fixed;  // unset: the axis follows the samples shown
};

// Measures label texts in the font they are drawn in; the default measures nothing, so
// every label is a point at its anchor.
struct ChartTextMetrics {
    std::function<int(const std::string&)> width;
    int ascent = 0;
    int widthOf(const std::string& text) const { return width ? width(text) : 0; }
};

struct ValueTicks {
    ValueRange range;            // what the plot's height spans, bottom to top
    std::vector<double> values;  // the labelled values, low to high, both ends included
    int decimals = 1;
};

// `divisions` equal steps over a fixed range.
ValueTicks fixedValueTicks(ValueRange range, int divisions, int decimals);
// Round steps (1, 2 or 5 times a power of ten) around the samples' [lowest, highest], with
// at most `maxDivisions` of them and a little room above and below the curves.
ValueTicks followingValueTicks(double lowest, double highest, const ValueAxis& axis,
                               int maxDivisions);
// "13.25V": the value with `decimals` decimals and the unit.
std::string valueLabel(double value, int decimals, const std::string& unit);

struct TimeTick {
    int32_t time = 0;
    std::string text;
};

// Ticks at round local times (seconds, minutes, hours, days) inside `window`, so far apart
// that their labels, written as wide as `text` measures them, keep at least `minSpacing`
// pixels between their centres at `pixelsPerSecond`. A window that spans days writes the
// date with every label; one that spans years, the year too.
std::vector<TimeTick> timeTicks(TimeWindow window, double pixelsPerSecond,
                                const ChartTextMetrics& text, int minSpacing);
