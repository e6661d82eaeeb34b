// The curve chart's geometry: where everything of one picture goes, in whole pixels.
// Positions are fractions of the plot truncated toward zero, with care that a sample on an
// edge of the window or of the volt axis lands exactly on that edge.
#include "CurveGeometry.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <limits>

namespace {

constexpr ChartColor kBlack{0, 0, 0};
constexpr int kValueLabelGap = 3;  // from a value label's end to the plot
constexpr int kMaxValueDivisions = 8;
constexpr int kMaxTimeTicks = 12;
constexpr const char* kWidestCurveLabel = "#40";

// The space kept between measured labels and what they stand beside.
int labelGap(const ChartTextMetrics& text) {
    return std::max(2, text.ascent / 4);
}

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

SeriesPath seriesPath(const CurveChartState& state, int k, const ChartFrame& frame,
                      bool blackWide) {
    const ChartRect& plot = frame.plot;
    const TimeWindow window = frame.window;
    const CCurveSeries& s = *state.m_series[static_cast<size_t>(k)];
    const size_t n = std::min(s.m_times.size(), s.m_values.size());
    SeriesPath path;
    path.index = k;
    const auto colorIndex = static_cast<size_t>(k);
    path.color = blackWide || colorIndex >= state.m_seriesColors.size()
                     ? kBlack
                     : state.m_seriesColors[colorIndex];

    const Scales to(plot, window, frame.values.range);
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
    path.labelShown = !path.points.empty();  // a curve outside the view has no end to name
    return path;
}

// Value labels end just left of the plot, on the baseline of their grid line.
void addValueAxis(const CurveChartState& state, const ChartFrame& frame, CurveGeometry& g) {
    const ChartRect& p = g.plot;
    const Scales to(p, g.window, frame.values.range);
    const std::vector<double>& values = frame.values.values;
    for (size_t j = 0; j < values.size(); ++j) {
        const int y = truncToPixel(to.y(values[j]));
        if (j > 0 && j + 1 < values.size()) {  // the ends lie on the frame
            g.gridY.insert(g.gridY.begin(), y);
        }
        g.voltLabels.insert(g.voltLabels.begin(),
                            {valueLabel(values[j], frame.values.decimals, state.m_valueAxis.unit),
                             {p.left - kValueLabelGap, y},
                             kBlack});
    }
}

bool overlap(const ChartRect& a, const ChartRect& b) {
    return a.left < b.right && b.left < a.right && a.top < b.bottom && b.top < a.bottom;
}

ChartRect labelBox(const ChartLabel& label, const ChartTextMetrics& text) {
    const int width = text.widthOf(label.text);
    return {label.anchor.x - width, label.anchor.y - text.ascent, label.anchor.x,
            label.anchor.y + 1};
}

// The curves' end labels that fit without covering one another: the curves farthest from
// the others' middle go first (a weak cell stands out), each in its own column or else in
// the other one. A label never runs past the right edge of the picture.
void placeCurveLabels(CurveGeometry& g, const ChartTextMetrics& text) {
    if (!text.width || text.ascent <= 0) {
        return;  // nothing measured: nothing can cover anything
    }
    std::vector<SeriesPath*> order;
    for (SeriesPath& path : g.series) {
        if (path.labelShown) {
            order.push_back(&path);
        }
    }
    if (order.empty()) {
        return;
    }
    std::vector<int> ends;
    for (const SeriesPath* path : order) {
        ends.push_back(path->label.anchor.y);
    }
    std::nth_element(ends.begin(), ends.begin() + static_cast<std::ptrdiff_t>(ends.size() / 2),
                     ends.end());
    const int middle = ends[ends.size() / 2];
    std::stable_sort(
        order.begin(), order.end(), [middle](const SeriesPath* a, const SeriesPath* b) {
            return std::abs(a->label.anchor.y - middle) > std::abs(b->label.anchor.y - middle);
        });
    const int gap = labelGap(text);
    const int width = text.widthOf(kWidestCurveLabel);
    const int near = gap + width;
    const int far = 2 * (gap + width);
    std::vector<ChartRect> placed;
    for (SeriesPath* path : order) {
        const bool odd = path->index % 2 == 1;
        path->labelShown = false;
        for (int column : {odd ? near : far, odd ? far : near}) {
            ChartLabel label = path->label;
            label.anchor.x = std::min(g.plot.right + column, g.outer.right);
            const ChartRect box = labelBox(label, text);
            if (std::none_of(placed.begin(), placed.end(),
                             [&box](const ChartRect& r) { return overlap(r, box); })) {
                path->label = label;
                path->labelShown = true;
                placed.push_back(box);
                break;
            }
        }
    }
}

// A label at every tick, centred under it, kept inside the picture, and left out where it
// would cover the one before.
void addTimeAxis(const CurveChartState& state, const ChartTextMetrics& text, CurveGeometry& g) {
    const ChartRect& p = g.plot;
    const int d = g.blackWide ? 120 : 25;
    const Scales to(p, g.window, g.values);
    const int minSpacing = std::max(1, p.width() / kMaxTimeTicks);
    int lastRight = std::numeric_limits<int>::min();
    for (const TimeTick& tick : timeTicks(g.window, to.perSecond, text, minSpacing)) {
        const int x = to.column(tick.time);
        if (x > p.left && x < p.right) {
            g.gridX.push_back(x);
        }
        const int width = text.widthOf(tick.text);
        const int right = std::min(std::max(x + width / 2, g.outer.left + width), g.outer.right);
        if (right - width < lastRight + std::max(text.ascent / 2, 0)) {
            continue;
        }
        g.timeLabels.push_back({tick.text, {right, p.bottom + d}, kBlack});
        lastRight = right;
    }
    if (state.m_series.front() == nullptr) {
        return;
    }
    const std::vector<int32_t>& times = state.m_series.front()->m_times;
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

// The lowest and highest value the shown curves reach inside the window, where they are cut
// at its edges included; false when no shown curve has a sample to give.
bool shownExtremes(const CurveChartState& state, TimeWindow window, double& lowest,
                   double& highest) {
    lowest = std::numeric_limits<double>::infinity();
    highest = -lowest;
    auto take = [&](double v) {  // a value that is not a number passes both tests
        lowest = v < lowest ? v : lowest;
        highest = v > highest ? v : highest;
    };
    const size_t drawn = std::min(state.m_series.size(), static_cast<size_t>(kChartChannels));
    for (size_t k = 0; k < drawn; ++k) {
        const CCurveSeries* s = state.m_series[k].get();
        if (s == nullptr || !state.m_visible[k]) {
            continue;
        }
        const size_t n = std::min(s->m_times.size(), s->m_values.size());
        const auto range = samplesInWindow(s->m_times, window);
        const size_t first = std::min(range.first, n);
        const size_t last = std::min(range.last, n);
        if (first < last) {
            float low = s->m_values[first];
            float high = low;
            for (size_t i = first + 1; i < last; ++i) {
                const float v = s->m_values[i];
                low = v < low ? v : low;
                high = v > high ? v : high;
            }
            take(low);
            take(high);
        }
        if (first > 0 && first < n) {
            take(valueAt(*s, first - 1, first, window.start));
        }
        if (last > 0 && last < n) {
            take(valueAt(*s, last - 1, last, window.end));
        }
    }
    return std::isfinite(lowest) && std::isfinite(highest);
}

ValueTicks valueTicks(const CurveChartState& state, TimeWindow window, int plotHeight,
                      const ChartTextMetrics& text) {
    const ValueAxis& axis = state.m_valueAxis;
    double lowest = 0;
    double highest = 0;
    if (axis.fixed || !shownExtremes(state, window, lowest, highest)) {
        return fixedValueTicks(axis.fixed.value_or(ValueRange{}), state.m_yDivisions,
                               axis.minDecimals);
    }
    // Labels at least two lines apart.
    const int divisions = text.ascent > 0 ? plotHeight / (2 * text.ascent) : kMaxValueDivisions;
    return followingValueTicks(lowest, highest, axis, std::min(divisions, kMaxValueDivisions));
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

PixelScales::PixelScales(const ChartRect& plot, TimeWindow window, ValueRange values)
    : left(plot.left),
      bottom(plot.bottom),
      start(window.start),
      low(values.low),
      perSecond(plot.width() / (static_cast<double>(window.end) - window.start)),
      perVolt(values.high > values.low ? plot.height() / (values.high - values.low) : 0) {}

ChartRect plotRect(const ChartRect& area) {
    const int dx = static_cast<int>(0.05 * area.width());
    const int dy = static_cast<int>(0.05 * area.height());
    return {area.left + dx, area.top + dy, area.right - dx, area.bottom - dy};
}

int timeToX(const ChartRect& plot, TimeWindow window, int32_t time) {
    return PixelScales(plot, window).column(time);
}

int valueToY(const ChartRect& plot, float volts, ValueRange values) {
    return PixelScales(plot, {0, 1}, values).row(volts);
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

ChartFrame chartFrame(const CurveChartState& state, const ChartRect& area, TimeWindow visible,
                      const ChartTextMetrics& text) {
    ChartFrame frame;
    frame.plot = plotRect(area);
    frame.window = usableWindow(visible);
    frame.values = valueTicks(state, frame.window, frame.plot.height(), text);
    int widest = 0;
    for (double value : frame.values.values) {
        widest = std::max(
            widest, text.widthOf(valueLabel(value, frame.values.decimals, state.m_valueAxis.unit)));
    }
    const int gap = labelGap(text);
    const int room = widest > 0 ? widest + kValueLabelGap + gap : 0;
    frame.plot.left = std::max(frame.plot.left, std::min(area.left + room, frame.plot.right));
    // Two columns of curve labels to the right of the plot.
    const int labels = text.widthOf(kWidestCurveLabel);
    const int right = labels > 0 ? 2 * (gap + labels) + gap : 0;
    frame.plot.right = std::min(frame.plot.right, std::max(area.right - right, frame.plot.left));
    return frame;
}

CurveGeometry curveGeometry(const CurveChartState& state, const ChartRect& area, bool blackWide,
                            TimeWindow visible, const ChartTextMetrics& text) {
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
    const ChartFrame frame = chartFrame(state, area, visible, text);
    g.plot = frame.plot;
    g.plotColor = state.m_plotColor;
    g.frameColor = state.m_frameColor;
    g.gridColor = state.m_gridColor;
    g.window = frame.window;
    g.values = frame.values.range;
    const Scales to(g.plot, g.window, g.values);
    g.xScale = static_cast<float>(to.perSecond);
    g.yScale = static_cast<float>(to.perVolt);
    g.curvePenWidth = blackWide ? 15 : 2;
    addValueAxis(state, frame, g);

    // Channels beyond the 40 the visibility flags cover are never drawn.
    const int drawn = std::min(static_cast<int>(state.m_series.size()), kChartChannels);
    for (int k = 0; k < drawn; ++k) {
        const CCurveSeries* s = state.m_series[static_cast<size_t>(k)].get();
        if (!state.m_visible[static_cast<size_t>(k)] || s == nullptr || s->m_times.empty() ||
            s->m_values.empty()) {
            continue;
        }
        g.series.push_back(seriesPath(state, k, frame, blackWide));
    }
    placeCurveLabels(g, text);
    addTimeAxis(state, text, g);
    return g;
}
