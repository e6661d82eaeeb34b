// The curve chart's geometry: where everything of one picture goes, in whole pixels.
// Positions are fractions of the plot truncated toward zero, with care that a sample on an
// edge of the window or of the volt axis lands exactly on that edge.
#include "CurveGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <limits>

namespace {

constexpr double kVoltSpan = 15.0;  // the volt axis always runs 0-15 V
constexpr ChartColor kBlack{0, 0, 0};

using Scales = PixelScales;

// The value of the segment from sample a to sample b at `time` (a before b).
double valueAt(const CCurveSeries& s, size_t a, size_t b, int32_t time) {
    const double ta = s.m_times[a];
    const double tb = s.m_times[b];
    const double va = s.m_values[a];
    const double vb = s.m_values[b];
    if (tb <= ta) {
        return vb;
    }
    return va + (vb - va) * (time - ta) / (tb - ta);
}

// The first whole second drawn in pixel column `column` or right of it.
int64_t firstTimeAt(const Scales& to, int column) {
    auto t = static_cast<int64_t>(std::ceil(to.start + (column - to.left) / to.perSecond));
    while (truncToPixel(to.x(static_cast<double>(t - 1))) >= column) {
        --t;
    }
    while (truncToPixel(to.x(static_cast<double>(t))) < column) {
        ++t;
    }
    return t;
}

// Samples first..last - 1, more than there are pixel columns: per column only its first,
// highest, lowest and last sample, in their order, so no column ever loses its extremes.
// The column's end is found by time, so only the kept samples are converted to pixels.
void addDecimated(const CCurveSeries& s, size_t first, size_t last, const Scales& to,
                  std::vector<ChartPoint>& out) {
    size_t i = first;
    while (i < last) {
        const int column = truncToPixel(to.x(s.m_times[i]));
        const int64_t next = firstTimeAt(to, column + 1);
        size_t j = i + 1;
        while (j < last && s.m_times[j] < next) {
            ++j;
        }
        // The extremes first, then where they occur: two short loops without a chain of
        // dependent compares run several times faster than one that tracks indices.
        const float* v = s.m_values.data();
        float lowest = v[i];
        float highest = v[i];
        for (size_t m = i + 1; m < j; ++m) {
            lowest = std::min(lowest, v[m]);
            highest = std::max(highest, v[m]);
        }
        // (A column that starts with a value that is not a number keeps only its ends.)
        auto indexOf = [&](float value) {
            return std::min(static_cast<size_t>(std::find(v + i, v + j, value) - v), j - 1);
        };
        const size_t low = indexOf(lowest);
        const size_t high = indexOf(highest);
        const size_t picks[] = {i, std::min(low, high), std::max(low, high), j - 1};
        for (size_t p = 0; p < 4; ++p) {
            if (p == 0 || picks[p] != picks[p - 1]) {
                out.push_back({column, truncToPixel(to.y(s.m_values[picks[p]]))});
            }
        }
        i = j;
    }
}

// The screen stroke of a left-to-right polyline as one vertical run of pixels per column: a
// curve never turns back in time, so what it covers in a column is one unbroken run. Each run
// is two pixels wide and one longer than it is, so the curve looks 2 px wide in every
// direction; a handful of rectangles per column paint far faster than any stroked line.
std::vector<ChartRect> strokeColumns(const std::vector<ChartPoint>& points) {
    std::vector<ChartRect> columns;
    if (!points.empty() && points.back().x >= points.front().x) {
        columns.reserve(static_cast<size_t>(points.back().x - points.front().x + 1));
    }
    auto include = [&columns](int x, double y) {
        // Rounded to the nearest row without a library call; rows lie within +-1e6.
        constexpr double kOffset = 4194304.0;
        const int row = static_cast<int>(y + 0.5 + kOffset) - static_cast<int>(kOffset);
        if (columns.empty() || columns.back().left != x) {
            columns.push_back({x, row, x + 2, row + 2});
            return;
        }
        columns.back().top = std::min(columns.back().top, row);
        columns.back().bottom = std::max(columns.back().bottom, row + 2);
    };
    for (size_t i = 1; i < points.size(); ++i) {
        const ChartPoint a = points[i - 1];
        const ChartPoint b = points[i];
        if (b.x <= a.x) {
            include(a.x, a.y);
            include(a.x, b.y);
            continue;
        }
        // Column c holds the segment from c - 0.5 to c + 0.5 (within its ends).
        const double slope = static_cast<double>(b.y - a.y) / (b.x - a.x);
        for (int c = a.x; c <= b.x; ++c) {
            const double from = std::max(c - 0.5, static_cast<double>(a.x)) - a.x;
            const double to = std::min(c + 0.5, static_cast<double>(b.x)) - a.x;
            include(c, a.y + slope * from);
            include(c, a.y + slope * to);
        }
    }
    return columns;
}

SeriesPath seriesPath(const CurveChartState& state, int k, const ChartRect& plot, TimeWindow window,
                      bool blackWide) {
    const CCurveSeries& s = *state.m_series[static_cast<size_t>(k)];
    const size_t n = std::min(s.m_times.size(), s.m_values.size());
    SeriesPath path;
    path.index = k;
    const auto colorIndex = static_cast<size_t>(k);
    path.color = blackWide || colorIndex >= state.m_seriesColors.size()
                     ? kBlack
                     : state.m_seriesColors[colorIndex];

    const Scales to(plot, window);
    const auto range = samplesInWindow(s.m_times, window);
    const size_t first = std::min(range.first, n);
    const size_t last = std::min(range.last, n);
    const bool entersFromLeft = first > 0 && first < n;
    const bool leavesToRight = last > 0 && last < n;
    // The label sits at the value where the curve leaves the window on the right.
    double rightValue = last == 0 ? s.m_values[0] : s.m_values[last - 1];
    if (leavesToRight) {
        rightValue = valueAt(s, last - 1, last, window.end);
    }
    // A segment that crosses an edge of the window is cut there.
    if (entersFromLeft) {
        path.points.push_back(
            {plot.left, truncToPixel(to.y(valueAt(s, first - 1, first, window.start)))});
    }
    // (A plot with no width has no columns to decimate by.)
    if (plot.width() > 0 && last - first >= static_cast<size_t>(plot.width())) {
        path.points.reserve(4 * static_cast<size_t>(plot.width() + 3));
        addDecimated(s, first, last, to, path.points);
    } else {
        path.points.reserve(last - first + 2);
        for (size_t i = first; i < last; ++i) {
            path.points.push_back(
                {truncToPixel(to.x(s.m_times[i])), truncToPixel(to.y(s.m_values[i]))});
        }
    }
    if (leavesToRight) {
        path.points.push_back({plot.right, truncToPixel(to.y(rightValue))});
    }
    if (!blackWide) {
        path.columns = strokeColumns(path.points);
    }

    const bool odd = k % 2 == 1;
    const int column = blackWide ? (odd ? 150 : 295) : (odd ? 25 : 45);
    char text[16];
    std::snprintf(text, sizeof text, "#%d", k + 1);
    path.label.text = text;
    path.label.anchor = {plot.right + column, truncToPixel(to.y(rightValue) + 4)};
    path.label.color = path.color;
    return path;
}

void addGrid(const CurveChartState& state, CurveGeometry& g) {
    const ChartRect& p = g.plot;
    for (int i = 0; state.m_xDivisions > 0 && i <= state.m_xDivisions; ++i) {
        g.gridX.push_back(
            truncToPixel(p.right - static_cast<double>(i) * p.width() / state.m_xDivisions));
    }
    for (int j = 0; state.m_yDivisions > 0 && j <= state.m_yDivisions; ++j) {
        const int y = truncToPixel(p.top + j * p.height() / kVoltSpan);
        if (j > 0 && j < state.m_yDivisions) {
            g.gridY.push_back(y);
        }
        char text[32];
        std::snprintf(text, sizeof text, "%0.1fV", static_cast<double>(state.m_yDivisions - j));
        g.voltLabels.push_back({text, {p.left - 3, y}, kBlack});
    }
}

void addTimeAxis(const CurveChartState& state, CurveGeometry& g) {
    const ChartRect& p = g.plot;
    const int d = g.blackWide ? 120 : 25;
    g.timeLabels.push_back({clockText(g.window.start), {p.left + 50, p.bottom + d}, kBlack});
    g.timeLabels.push_back({clockText(g.window.end), {p.right + 20, p.bottom + d}, kBlack});
    if (state.m_series.front() == nullptr) {
        return;
    }
    const std::vector<int32_t>& times = state.m_series.front()->m_times;
    const Scales to(p, g.window);
    const auto [first, last] = samplesInWindow(times, g.window);
    for (size_t i = first; i < last; ++i) {
        const double xc = to.x(times[i]);
        const ChartRect marker{truncToPixel(xc - 3), p.bottom - 3, truncToPixel(xc + 3),
                               p.bottom + 3};
        // Samples closer than a pixel share one circle.
        if (g.markers.empty() || !(g.markers.back() == marker)) {
            g.markers.push_back(marker);
        }
    }
}

}  // namespace

std::vector<ChartColor> defaultSeriesColors() {
    std::vector<ChartColor> colors;
    for (int i = 0; i < kChartColorCount; ++i) {
        const auto r = static_cast<uint8_t>((255 - 49 * i) & 0xFF);
        const auto g = static_cast<uint8_t>((51 * i) & 0xFF);
        colors.push_back({r, g, g});
    }
    return colors;
}

TimeWindow usableWindow(TimeWindow window) {
    if (window.end < window.start) {
        std::swap(window.start, window.end);
    }
    if (window.end == window.start) {
        constexpr int64_t kMin = std::numeric_limits<int32_t>::min();
        constexpr int64_t kMax = std::numeric_limits<int32_t>::max();
        const int64_t centre = window.start;
        window.start = static_cast<int32_t>(std::max(kMin, centre - kDegenerateWindowHalfWidth));
        window.end = static_cast<int32_t>(std::min(kMax, centre + kDegenerateWindowHalfWidth));
    }
    return window;
}

PixelScales::PixelScales(const ChartRect& plot, TimeWindow window)
    : left(plot.left),
      bottom(plot.bottom),
      start(window.start),
      perSecond(plot.width() / (static_cast<double>(window.end) - window.start)),
      perVolt(plot.height() / kVoltSpan) {}

ChartRect plotRect(const ChartRect& area) {
    const int dx = static_cast<int>(0.05 * area.width());
    const int dy = static_cast<int>(0.05 * area.height());
    return {area.left + dx, area.top + dy, area.right - dx, area.bottom - dy};
}

int timeToX(const ChartRect& plot, TimeWindow window, int32_t time) {
    return PixelScales(plot, window).column(time);
}

int valueToY(const ChartRect& plot, float volts) {
    return PixelScales(plot, {0, 1}).row(volts);
}

int32_t xToTime(const ChartRect& plot, TimeWindow window, int x) {
    const double span = static_cast<double>(window.end) - window.start;
    const double t = window.start + (x - plot.left) * span / std::max(plot.width(), 1);
    return static_cast<int32_t>(std::clamp(t, -2147483648.0, 2147483647.0));
}

SampleRange samplesInWindow(const std::vector<int32_t>& times, TimeWindow window) {
    const auto first = std::lower_bound(times.begin(), times.end(), window.start);
    const auto last = std::upper_bound(first, times.end(), window.end);
    return {static_cast<size_t>(first - times.begin()), static_cast<size_t>(last - times.begin())};
}

std::string clockText(int32_t time) {
    const std::time_t t = time;
    std::tm local{};
    char text[16] = "";
    if (localtime_r(&t, &local) != nullptr) {
        std::strftime(text, sizeof text, "%H:%M:%S", &local);
    }
    return text;
}

CurveGeometry curveGeometry(const CurveChartState& state, const ChartRect& area, bool blackWide,
                            TimeWindow visible) {
    CurveGeometry g;
    if (state.m_series.empty()) {
        return g;
    }
    g.empty = false;
    g.blackWide = blackWide;
    const CCurveSeries* first = state.m_series.front().get();
    g.sampleCount = first == nullptr ? 0 : static_cast<int>(first->m_values.size());
    g.fillOuter = !state.m_noBackground;
    g.outer = area;
    g.backColor = state.m_backColor;
    g.plot = plotRect(area);
    g.plotColor = state.m_plotColor;
    g.frameColor = state.m_frameColor;
    g.gridColor = state.m_gridColor;
    g.window = usableWindow(visible);
    g.xScale =
        static_cast<float>(g.plot.width() / (static_cast<double>(g.window.end) - g.window.start));
    g.yScale = static_cast<float>(g.plot.height() / kVoltSpan);
    g.curvePenWidth = blackWide ? 15 : 2;
    addGrid(state, g);

    // Channels beyond the 40 the visibility flags cover are never drawn.
    const int drawn = std::min(static_cast<int>(state.m_series.size()), kChartChannels);
    for (int k = 0; k < drawn; ++k) {
        const CCurveSeries* s = state.m_series[static_cast<size_t>(k)].get();
        if (!state.m_visible[static_cast<size_t>(k)] || s == nullptr || s->m_times.empty() ||
            s->m_values.empty()) {
            continue;
        }
        g.series.push_back(seriesPath(state, k, g.plot, g.window, blackWide));
    }
    addTimeAxis(state, g);
    return g;
}
