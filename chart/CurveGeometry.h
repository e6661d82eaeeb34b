// The curve chart's state and everything one picture of it draws, worked out without Qt:
// plot rectangle, scales, grid, labels, the decimated curves and the time markers.
#pragma once

#include "ChartAxes.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

// One curve: sample times (Unix seconds) and their values in volts, index for index.
struct CCurveSeries {
    std::vector<int32_t> m_times;
    std::vector<float> m_values;
};

struct ChartColor {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    bool operator==(const ChartColor&) const = default;
};

struct ChartPoint {
    int x = 0;
    int y = 0;
    bool operator==(const ChartPoint&) const = default;
};

// Edges as a device rectangle has them: right and bottom lie just outside.
struct ChartRect {
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
    int width() const { return right - left; }
    int height() const { return bottom - top; }
    bool operator==(const ChartRect&) const = default;
};

inline constexpr int kChartChannels = 40;
inline constexpr int kChartColorCount = 255;

constexpr std::array<bool, kChartChannels> allChannelsVisible() {
    std::array<bool, kChartChannels> flags{};
    flags.fill(true);
    return flags;
}

// The 255 series colours: entry i is RGB(r, g, g), r = (255 - 49i) mod 256, g = 51i mod 256.
std::vector<ChartColor> defaultSeriesColors();

// What a picture is drawn from. The chart object itself is this state plus painting.
struct CurveChartState {
    std::vector<std::unique_ptr<CCurveSeries>> m_series;  // index k is channel k + 1
    ChartColor m_frameColor{0, 0, 0};
    ChartColor m_plotColor{255, 255, 255};
    ChartColor m_gridColor{192, 192, 192};
    bool m_noBackground = false;
    ChartColor m_backColor{255, 255, 255};
    int m_secondsPerDivision = 60;
    int m_xDivisions = 10;
    int m_yDivisions = 15;  // of a fixed value axis
    int32_t m_timeEnd = 0;
    int32_t m_timeStart = 0;
    float m_xScale = 0;  // written by each drawing
    float m_yScale = 0;
    int m_sampleCount = 0;
    std::vector<ChartColor> m_seriesColors = defaultSeriesColors();
    std::array<bool, kChartChannels> m_visible = allChannelsVisible();  // series k drawn
    ValueAxis m_valueAxis;  // follows the samples shown unless given a fixed range
};

// A text anchored at its right end on the baseline.
struct ChartLabel {
    std::string text;
    ChartPoint anchor;
    ChartColor color;
};

struct SeriesPath {
    int index = 0;                   // series index; its label reads #(index + 1)
    ChartColor color;                // pen and label colour
    std::vector<ChartPoint> points;  // left to right, decimated; fewer than two: no stroke
    // The normal variant's stroke: filled rectangles, one per pixel column the curve covers.
    std::vector<ChartRect> columns;
    ChartLabel label;
    // Labels that would cover one another give way, the curves nearest the rest first: the
    // readout names those.
    bool labelShown = true;
};

struct CurveGeometry {
    bool empty = true;  // no series: nothing at all is drawn
    bool fillOuter = false;
    ChartRect outer;
    ChartColor backColor;
    ChartRect plot;  // the plot rectangle, framed
    ChartColor plotColor;
    ChartColor frameColor;
    int frameWidth = 2;
    TimeWindow window;  // the visible window actually used (never empty)
    ValueRange values;  // what the plot's height spans
    float xScale = 0;   // pixels per second
    float yScale = 0;   // pixels per unit of value
    int sampleCount = 0;
    ChartColor gridColor;
    std::vector<int> gridX;              // vertical lines from plot.top to plot.bottom
    std::vector<int> gridY;              // horizontal lines from plot.left to plot.right
    std::vector<ChartLabel> voltLabels;  // the value axis, whatever its unit
    bool blackWide = false;
    int curvePenWidth = 2;
    std::vector<SeriesPath> series;  // in drawing order; later ones cover earlier ones
    std::vector<ChartLabel> timeLabels;
    std::vector<ChartRect> markers;  // circles on the time axis (bounding boxes)
};

// A window whose end is not after its start is turned into one that is: an inverted one is
// swapped, an empty one widened by this many seconds each side of its single time.
inline constexpr int32_t kDegenerateWindowHalfWidth = 30;
TimeWindow usableWindow(TimeWindow window);

// The plot rectangle for a drawing area: 5% of the width and height in from each side.
ChartRect plotRect(const ChartRect& area);

// Where a picture puts its plot and what its axes span: the value labels, measured, push
// the plot's left edge in as far as they need.
struct ChartFrame {
    ChartRect plot;
    TimeWindow window;  // usable
    ValueTicks values;
};
ChartFrame chartFrame(const CurveChartState& state, const ChartRect& area, TimeWindow visible,
                      const ChartTextMetrics& text = {});

// Everything one picture draws, for `area`, the variant and the visible time window, with
// labels laid out as `text` measures them.
CurveGeometry curveGeometry(const CurveChartState& state, const ChartRect& area, bool blackWide,
                            TimeWindow visible, const ChartTextMetrics& text = {});

// Truncation toward zero, kept to a range a painter can take (values far off the axis, or
// not numbers at all, must not make an undefined conversion; NaN goes to the low end).
inline int truncToPixel(double v) {
    v = v > -1.0e6 ? v : -1.0e6;  // so written, two instructions and no library call
    return static_cast<int>(v < 1.0e6 ? v : 1.0e6);
}

// Screen positions of times and values in a plot showing `window` (already usable), by
// multiplication. The bias lifts a position that is exactly a whole pixel (an edge of the
// window, 15 V on the top) above the rounding of the product; it is far below the finest
// fraction of a pixel a sample of a window up to 2^32 s wide can have.
struct PixelScales {
    static constexpr double kBias = 1e-10;
    PixelScales(const ChartRect& plot, TimeWindow window, ValueRange values = {});
    double x(double time) const { return left + (time - start) * perSecond + kBias; }
    double y(double volts) const { return bottom - (volts - low) * perVolt + kBias; }
    int column(int32_t time) const { return truncToPixel(x(time)); }
    int row(float volts) const { return truncToPixel(y(volts)); }

    double left;
    double bottom;
    double start;
    double low;
    double perSecond;
    double perVolt;
};

// Pixel position of a sample in a plot showing `window` (already usable).
int timeToX(const ChartRect& plot, TimeWindow window, int32_t time);
int valueToY(const ChartRect& plot, float volts, ValueRange values = {});
// The time under pixel column x of the plot, truncated to whole seconds.
int32_t xToTime(const ChartRect& plot, TimeWindow window, int x);

// The first and last sample of `times` (ascending) that lie inside `window`; empty range
// when none does: [first, last) as indices.
struct SampleRange {
    size_t first = 0;
    size_t last = 0;
};
SampleRange samplesInWindow(const std::vector<int32_t>& times, TimeWindow window);
