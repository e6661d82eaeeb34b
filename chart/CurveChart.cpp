// The curve chart: filling it, zooming it, finding the point under the mouse, and painting
// what its geometry says.
#include "CurveChart.h"

#include <QFont>
#include <QFontMetrics>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <ctime>
#include <limits>

namespace {

QColor toQColor(ChartColor c) {
    return QColor(c.r, c.g, c.b);
}

QRect toQRect(const ChartRect& r) {
    return QRect(r.left, r.top, r.width(), r.height());
}

void drawAnchored(QPainter& painter, const ChartLabel& label) {
    painter.setPen(toQColor(label.color));
    const QString text = QString::fromStdString(label.text);
    const int width = painter.fontMetrics().horizontalAdvance(text);
    painter.drawText(label.anchor.x - width, label.anchor.y, text);
}

void drawFrameAndGrid(QPainter& painter, const CurveGeometry& g) {
    if (g.fillOuter) {
        painter.fillRect(toQRect(g.outer), toQColor(g.backColor));
    }
    const QRect plot = toQRect(g.plot);
    painter.fillRect(plot, toQColor(g.plotColor));
    painter.setBrush(Qt::NoBrush);
    painter.setPen(QPen(toQColor(g.frameColor), g.frameWidth));
    painter.drawRect(plot);
    QPen grid(toQColor(g.gridColor), 1, Qt::DashDotDotLine);
    grid.setCosmetic(true);
    painter.setPen(grid);
    for (int x : g.gridX) {
        painter.drawLine(x, g.plot.top, x, g.plot.bottom);
    }
    for (int y : g.gridY) {
        painter.drawLine(g.plot.left, y, g.plot.right, y);
    }
}

// On screen the curve is filled pixel columns (see strokeColumns); for print, the wide pen.
void drawCurve(QPainter& painter, const CurveGeometry& g, const SeriesPath& path) {
    if (!g.blackWide) {
        QVector<QRect> rects;
        rects.reserve(static_cast<qsizetype>(path.columns.size()));
        for (const ChartRect& c : path.columns) {
            rects.append(toQRect(c));
        }
        painter.setPen(Qt::NoPen);
        painter.setBrush(toQColor(path.color));
        painter.drawRects(rects);
        return;
    }
    if (path.points.size() < 2) {
        return;
    }
    QPolygon polygon(static_cast<int>(path.points.size()));
    for (size_t i = 0; i < path.points.size(); ++i) {
        polygon.setPoint(static_cast<int>(i), path.points[i].x, path.points[i].y);
    }
    painter.setPen(
        QPen(toQColor(path.color), g.curvePenWidth, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPolyline(polygon);
}

// Markers are all the same circle: on screen it is drawn once and then copied, which is
// several times faster than stroking hundreds of dashed circles.
void drawTimeMarkers(QPainter& painter, const CurveGeometry& g) {
    QPen grid(toQColor(g.gridColor), 1, Qt::DashDotDotLine);
    grid.setCosmetic(true);
    if (g.blackWide || g.markers.empty()) {
        painter.setPen(grid);
        painter.setBrush(toQColor(g.plotColor));
        for (const ChartRect& m : g.markers) {
            painter.drawEllipse(toQRect(m));
        }
        return;
    }
    const ChartRect& first = g.markers.front();
    QImage marker(first.width() + 2, first.height() + 2, QImage::Format_ARGB32_Premultiplied);
    marker.fill(Qt::transparent);
    {
        QPainter sprite(&marker);
        sprite.setPen(grid);
        sprite.setBrush(toQColor(g.plotColor));
        sprite.drawEllipse(QRect(1, 1, first.width(), first.height()));
    }
    painter.setPen(grid);
    painter.setBrush(toQColor(g.plotColor));
    for (const ChartRect& m : g.markers) {
        if (m.width() == first.width() && m.height() == first.height()) {
            painter.drawImage(m.left - 1, m.top - 1, marker);
        } else {
            painter.drawEllipse(toQRect(m));
        }
    }
}

int32_t now() {
    return static_cast<int32_t>(std::time(nullptr));
}

}  // namespace

QFont chartFont() {
    return QFont(QStringLiteral("宋体"), 12);
}

ChartTextMetrics chartTextMetrics(const QPaintDevice* device) {
    const QFontMetrics metrics =
        device != nullptr ? QFontMetrics(chartFont(), device) : QFontMetrics(chartFont());
    ChartTextMetrics text;
    text.ascent = metrics.ascent();
    text.width = [metrics](const std::string& s) {
        return metrics.horizontalAdvance(QString::fromStdString(s));
    };
    return text;
}

ChartRect toChartRect(const QRect& area) {
    return {area.x(), area.y(), area.x() + area.width(), area.y() + area.height()};
}

CCurveChart::CCurveChart() {
    m_timeEnd = now();
    m_timeStart = m_timeEnd - m_xDivisions * m_secondsPerDivision;
}

CurveGeometry CCurveChart::geometry(const QRect& area, bool blackWide,
                                    const QPaintDevice* device) const {
    return curveGeometry(*this, toChartRect(area), blackWide, viewWindow(),
                         chartTextMetrics(device));
}

ChartFrame CCurveChart::frame(const QRect& area) const {
    return chartFrame(*this, toChartRect(area), viewWindow(), chartTextMetrics());
}

void CCurveChart::Draw(QPainter& painter, const QRect& area, bool blackWide) {
    const CurveGeometry g = geometry(area, blackWide, painter.device());
    m_xScale = g.xScale;
    m_yScale = g.yScale;
    m_sampleCount = g.sampleCount;
    paint(painter, g);
}

void CCurveChart::paint(QPainter& painter, const CurveGeometry& g) {
    if (g.empty) {
        return;
    }
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing, g.blackWide);
    painter.setBackgroundMode(Qt::TransparentMode);
    painter.setFont(chartFont());
    drawFrameAndGrid(painter, g);
    for (const ChartLabel& label : g.voltLabels) {
        drawAnchored(painter, label);
    }
    for (const SeriesPath& path : g.series) {
        drawCurve(painter, g, path);
    }
    for (const SeriesPath& path : g.series) {  // no curve covers a label
        if (path.labelShown) {
            drawAnchored(painter, path.label);
        }
    }
    for (const ChartLabel& label : g.timeLabels) {
        drawAnchored(painter, label);
    }
    drawTimeMarkers(painter, g);
    painter.restore();
}

void CCurveChart::SetChannelVisibility(const int flags[kChartChannels]) {
    for (size_t k = 0; k < m_visible.size(); ++k) {
        m_visible[k] = flags[k] != 0;
    }
}

void CCurveChart::clearSeries() {
    m_series.clear();
    m_timeEnd = now();
    m_timeStart = m_timeEnd - m_xDivisions * m_secondsPerDivision;
    m_view.reset();
}

void CCurveChart::addSample(int32_t time, std::span<const float> values) {
    const size_t count = std::min(values.size(), static_cast<size_t>(kChartChannels));
    while (m_series.size() < count) {
        m_series.push_back(std::make_unique<CCurveSeries>());
    }
    for (size_t k = 0; k < count; ++k) {
        CCurveSeries* s = m_series[k].get();
        if (s == nullptr) {
            continue;
        }
        // Samples nearly always come in order: appending is the common case.
        if (s->m_times.empty() || s->m_times.back() <= time) {
            s->m_times.push_back(time);
            s->m_values.push_back(values[k]);
            continue;
        }
        const auto at = std::upper_bound(s->m_times.begin(), s->m_times.end(), time);
        const auto offset = at - s->m_times.begin();
        s->m_times.insert(at, time);
        s->m_values.insert(s->m_values.begin() + offset, values[k]);
    }
}

void CCurveChart::fitTimeWindow() {
    int32_t first = std::numeric_limits<int32_t>::max();
    int32_t last = std::numeric_limits<int32_t>::min();
    for (const auto& s : m_series) {
        if (s != nullptr && !s->m_times.empty()) {
            first = std::min(first, s->m_times.front());
            last = std::max(last, s->m_times.back());
        }
    }
    if (first <= last) {
        m_timeStart = first;
        m_timeEnd = last;
    }
    m_view.reset();
}

int CCurveChart::seriesCount() const {
    return static_cast<int>(m_series.size());
}

int CCurveChart::sampleCount() const {
    return m_series.empty() || m_series.front() == nullptr
               ? 0
               : static_cast<int>(m_series.front()->m_values.size());
}

int CCurveChart::drawnCurveCount() const {
    int curves = 0;
    for (size_t k = 0; k < m_series.size() && k < m_visible.size(); ++k) {
        curves += m_visible[k] && m_series[k] != nullptr && !m_series[k]->m_values.empty() ? 1 : 0;
    }
    return curves;
}

void CCurveChart::setViewWindow(int32_t start, int32_t end) {
    m_view = TimeWindow{start, end};
}

void CCurveChart::resetView() {
    m_view.reset();
}

TimeWindow CCurveChart::viewWindow() const {
    return m_view.value_or(TimeWindow{m_timeStart, m_timeEnd});
}

std::optional<CCurveChart::CurvePoint> CCurveChart::nearestPoint(const QRect& area,
                                                                 QPoint at) const {
    const ChartFrame f = frame(area);
    const ChartRect& plot = f.plot;
    if (at.x() < plot.left || at.x() > plot.right || at.y() < plot.top || at.y() > plot.bottom) {
        return std::nullopt;
    }
    const TimeWindow window = f.window;
    const int32_t cursorTime = xToTime(plot, window, at.x());
    const PixelScales to(plot, window, f.values.range);
    std::optional<CurvePoint> nearest;
    int64_t best = std::numeric_limits<int64_t>::max();
    // Screen x grows with the index, so each scan stops once x alone is farther than the
    // best so far; later series win ties, as they are drawn on top.
    auto consider = [&](int k, const CCurveSeries& s, size_t i) {
        const QPoint p(to.column(s.m_times[i]), to.row(s.m_values[i]));
        const int64_t dx = p.x() - at.x();
        const int64_t dy = p.y() - at.y();
        if (dx * dx > best) {
            return false;
        }
        if (dx * dx + dy * dy <= best) {
            best = dx * dx + dy * dy;
            nearest = CurvePoint{k, static_cast<int>(i), s.m_times[i], s.m_values[i], p};
        }
        return true;
    };
    const int drawn = std::min(seriesCount(), kChartChannels);
    for (int k = 0; k < drawn; ++k) {
        const CCurveSeries* s = m_series[static_cast<size_t>(k)].get();
        if (s == nullptr || !m_visible[static_cast<size_t>(k)]) {
            continue;
        }
        const size_t n = std::min(s->m_times.size(), s->m_values.size());
        const auto range = samplesInWindow(s->m_times, window);
        const size_t first = std::min(range.first, n);
        const size_t last = std::min(range.last, n);
        const size_t middle = static_cast<size_t>(
            std::lower_bound(s->m_times.begin() + static_cast<std::ptrdiff_t>(first),
                             s->m_times.begin() + static_cast<std::ptrdiff_t>(last), cursorTime) -
            s->m_times.begin());
        for (size_t i = middle; i < last && consider(k, *s, i); ++i) {
        }
        for (size_t i = middle; i > first && consider(k, *s, i - 1); --i) {
        }
    }
    return nearest;
}
