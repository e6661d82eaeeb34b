// The curve chart: cell voltage against time for up to 40 channels, drawn into any painter
// and rectangle, on screen (thin strokes, fast) or for print (black wide pen).
#pragma once

#include <QFont>
#include <QPoint>
#include <QRect>
#include <cstdint>
#include <optional>
#include <span>

#include "CurveGeometry.h"

class QPainter;
class QPaintDevice;

class CCurveChart : public CurveChartState {
  public:
    // The default window: the ten divisions up to the moment of construction.
    CCurveChart();

    // Draws the whole picture into `area` (its right and bottom edges are x() + width() and
    // y() + height()); nothing at all when there are no series.
    void Draw(QPainter& painter, const QRect& area, bool blackWide);
    // Flag k non-zero: series k (channel k + 1) is drawn.
    void SetChannelVisibility(const int flags[kChartChannels]);

    // No series; the window back to the default one, ending now.
    void clearSeries();
    // One sample of every channel at `time`: series are created as needed (at most 40), and
    // the sample goes to its place in time; equal times keep their arrival order.
    void addSample(int32_t time, std::span<const float> values);
    // The whole window from the first sample time to the last, and the view back to it.
    void fitTimeWindow();
    int seriesCount() const;
    int sampleCount() const;  // samples of series 0
    // How many curves Draw draws: shown channels with at least one sample.
    int drawnCurveCount() const;

    // The visible part of the time axis (a zoom); the whole window unless set.
    void setViewWindow(int32_t start, int32_t end);
    void resetView();
    TimeWindow viewWindow() const;
    bool zoomed() const { return m_view.has_value(); }

    struct CurvePoint {
        int series;
        int index;
        int32_t time;
        float value;
        QPoint at;  // where it is drawn
    };
    // The drawn sample nearest `at` on screen, when `at` lies in the plot of `area`.
    std::optional<CurvePoint> nearestPoint(const QRect& area, QPoint at) const;

    // What Draw draws, for `area` and the visible window, its labels measured for `device`
    // (the screen when none), and the painting of it (Draw without recording the scales,
    // for a chart that must stay as it is).
    CurveGeometry geometry(const QRect& area, bool blackWide,
                           const QPaintDevice* device = nullptr) const;
    static void paint(QPainter& painter, const CurveGeometry& g);
    // The plot rectangle and axes a screen picture in `area` has now.
    ChartFrame frame(const QRect& area) const;

  private:
    std::optional<TimeWindow> m_view;
};

ChartRect toChartRect(const QRect& area);
// The face and size of every text of the chart: 12-point 宋体.
QFont chartFont();
// The chart's texts measured in that font on `device` (the screen when none).
ChartTextMetrics chartTextMetrics(const QPaintDevice* device = nullptr);
