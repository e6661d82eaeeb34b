// Draws the trend chart from its pure scale (ReportChart).
#include "TrendPainter.h"

#include <QDateTime>
#include <QPainter>
#include <QPainterPath>
#include <QPolygonF>
#include <algorithm>
#include <array>

#include "ReportChart.h"

namespace {

constexpr double kAxisLabelWidth = 44;
constexpr double kTimeLabelHeight = 14;
constexpr double kLegendHeight = 16;
constexpr int kMarkersPerSeries = 8;

constexpr std::array<Qt::PenStyle, report::kHighlightedCells> kStyles = {
    Qt::SolidLine, Qt::DashLine, Qt::DotLine, Qt::DashDotLine, Qt::DashDotDotLine};

// Marker k (circle, square, triangle, cross, diamond) centred on `at`.
void drawMarker(QPainter& p, int k, const QPointF& at) {
    constexpr double r = 2.6;
    switch (k) {
        case 0:
            p.drawEllipse(at, r, r);
            break;
        case 1:
            p.drawRect(QRectF(at.x() - r, at.y() - r, 2 * r, 2 * r));
            break;
        case 2:
            p.drawPolygon(
                QPolygonF({at + QPointF(0, -r), at + QPointF(r, r), at + QPointF(-r, r)}));
            break;
        case 3:
            p.drawLine(at + QPointF(-r, -r), at + QPointF(r, r));
            p.drawLine(at + QPointF(-r, r), at + QPointF(r, -r));
            break;
        default:
            p.drawPolygon(QPolygonF({at + QPointF(0, -r), at + QPointF(r, 0), at + QPointF(0, r),
                                     at + QPointF(-r, 0)}));
    }
}

QString dateText(int64_t time) {
    return QDateTime::fromSecsSinceEpoch(time).toString(QStringLiteral("yyyy-MM-dd hh:mm"));
}

struct Plot {
    QRectF rect;
    report::ChartScale scale;
    QPointF at(const analysis::TrendPoint& p) const {
        return {rect.left() + report::timeFraction(scale, p.time) * rect.width(),
                rect.bottom() - report::valueFraction(scale, p.value) * rect.height()};
    }
};

void drawAxes(QPainter& p, const Plot& plot, const QFont& font) {
    p.setFont(font);
    p.setPen(QPen(Qt::black, 0.6));
    p.drawRect(plot.rect);
    for (const double tick : plot.scale.ticks) {
        const double y =
            plot.rect.bottom() - report::valueFraction(plot.scale, tick) * plot.rect.height();
        p.setPen(QPen(QColor(200, 200, 200), 0.3, Qt::DotLine));
        p.drawLine(QPointF(plot.rect.left(), y), QPointF(plot.rect.right(), y));
        p.setPen(Qt::black);
        p.drawText(QRectF(plot.rect.left() - kAxisLabelWidth, y - 6, kAxisLabelWidth - 3, 12),
                   Qt::AlignRight | Qt::AlignVCenter, QString::number(tick, 'g', 6));
    }
    const QRectF below(plot.rect.left(), plot.rect.bottom() + 2, plot.rect.width(),
                       kTimeLabelHeight);
    p.drawText(below, Qt::AlignLeft | Qt::AlignTop, dateText(plot.scale.firstTime));
    p.drawText(below, Qt::AlignRight | Qt::AlignTop, dateText(plot.scale.lastTime));
    p.drawText(below, Qt::AlignHCenter | Qt::AlignTop, QStringLiteral("内阻 (mΩ) / 记录时间"));
}

void drawSeries(QPainter& p, const Plot& plot, const std::vector<analysis::TrendPoint>& series,
                int style) {
    QPolygonF line;
    line.reserve(static_cast<int>(series.size()));
    for (const auto& point : series) {
        line << plot.at(point);
    }
    if (style < 0) {
        p.setPen(QPen(QColor(160, 160, 160), 0.4));
        p.drawPolyline(line);
        return;
    }
    p.setPen(QPen(Qt::black, 1.1, kStyles[style]));
    p.drawPolyline(line);
    p.setPen(QPen(Qt::black, 0.8));
    const int every = std::max<int>(1, static_cast<int>(line.size()) / kMarkersPerSeries);
    for (int i = 0; i < line.size(); i += every) {
        drawMarker(p, style, line[i]);
    }
}

void drawLegend(QPainter& p, const QRectF& area, const std::vector<int>& cells) {
    double x = area.left();
    const double y = area.center().y();
    for (size_t k = 0; k < cells.size(); ++k) {
        p.setPen(QPen(Qt::black, 1.1, kStyles[k]));
        p.drawLine(QPointF(x, y), QPointF(x + 26, y));
        p.setPen(QPen(Qt::black, 0.8));
        drawMarker(p, static_cast<int>(k), QPointF(x + 13, y));
        p.drawText(QRectF(x + 30, area.top(), 46, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
                   QStringLiteral("电池%1").arg(cells[k]));
        x += 78;
    }
    p.setPen(QPen(QColor(160, 160, 160), 0.4));
    p.drawLine(QPointF(x, y), QPointF(x + 26, y));
    p.setPen(Qt::black);
    p.drawText(QRectF(x + 30, area.top(), 50, area.height()), Qt::AlignLeft | Qt::AlignVCenter,
               QStringLiteral("其他电池"));
}

}  // namespace

void paintTrendChart(QPainter& painter, const QRectF& area, const report::TrendChart& chart,
                     const QFont& font) {
    const auto scale = report::chartScale(chart);
    painter.save();
    painter.setFont(font);
    if (!scale) {
        painter.setPen(QPen(Qt::black, 0.6));
        painter.drawRect(area);
        painter.drawText(area, Qt::AlignCenter, QStringLiteral("没有可画的内阻记录"));
        painter.restore();
        return;
    }
    const Plot plot{area.adjusted(kAxisLabelWidth, 4, -6, -(kTimeLabelHeight + kLegendHeight + 4)),
                    *scale};
    painter.setRenderHint(QPainter::Antialiasing);
    drawAxes(painter, plot, font);
    painter.setClipRect(plot.rect.adjusted(-3, -3, 3, 3));
    painter.setBrush(Qt::NoBrush);
    for (size_t i = 0; i < chart.series.size(); ++i) {
        const int cell = static_cast<int>(i) + 1;
        if (std::find(chart.highlighted.begin(), chart.highlighted.end(), cell) ==
            chart.highlighted.end()) {
            drawSeries(painter, plot, chart.series[i], -1);
        }
    }
    for (size_t k = 0; k < chart.highlighted.size() && k < kStyles.size(); ++k) {
        const size_t index = static_cast<size_t>(chart.highlighted[k] - 1);
        if (index < chart.series.size()) {
            drawSeries(painter, plot, chart.series[index], static_cast<int>(k));
        }
    }
    painter.setClipping(false);
    drawLegend(
        painter,
        QRectF(plot.rect.left(), area.bottom() - kLegendHeight, plot.rect.width(), kLegendHeight),
        chart.highlighted);
    painter.restore();
}
