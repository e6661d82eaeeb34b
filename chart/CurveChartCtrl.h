// The control that shows the curve chart in a dialog: paints it into the fixed 890 x 560
// rectangle, reads out the point under the mouse, zooms to a dragged stretch of time and
// saves the picture for print from its context menu.
#pragma once

#include <QWidget>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "CurveChart.h"

class QRubberBand;

// Renders the black wide-pen variant at print size (A4 landscape, 600 dpi) and saves it as
// PNG at `path`. On failure returns false, with the reason in `error`; an existing file at
// `path` is then left as it was.
bool saveChartPicture(const CCurveChart& chart, const std::string& path, std::string& error);

class CCurveChartCtrl : public QWidget {
  public:
    using ReadoutHandler = std::function<void(const std::optional<CCurveChart::CurvePoint>&)>;

    // The rectangle every paint draws the chart into, whatever the control's size.
    static constexpr QRect kChartArea{0, 0, 890, 560};

    explicit CCurveChartCtrl(QWidget* parent = nullptr);
    ~CCurveChartCtrl() override;

    CCurveChart& chart() { return m_chart; }
    const CCurveChart& chart() const { return m_chart; }

    // Told the point under the mouse as it moves over the plot, nullopt once it leaves.
    void setReadoutHandler(ReadoutHandler handler);
    // From now on the chart fills the control, whatever its size, down to `minimum` (a host
    // whose page has no room for the fixed rectangle).
    void followSize(QSize minimum);
    // The rectangle the chart is drawn into.
    QRect chartArea() const;
    // Where the chart's point 0,0 lies in the control.
    QPoint chartOrigin() const { return {0, 0}; }
    // An entry of the context menu, after the picture's.
    void addContextAction(std::string text, std::function<void()> action);

  protected:
    void paintEvent(QPaintEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void leaveEvent(QEvent* event) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

  private:
    void showReadout(std::optional<CCurveChart::CurvePoint> point);
    void savePicture();
    ChartRect plot() const;
    // A mouse position in the chart's own coordinates.
    QPoint toChart(QPoint at) const { return at - chartOrigin(); }

    struct ContextAction {
        std::string text;
        std::function<void()> action;
    };

    CCurveChart m_chart;
    ReadoutHandler m_readout;
    std::vector<ContextAction> m_actions;
    std::optional<CCurveChart::CurvePoint> m_marked;
    std::optional<int> m_dragStartX;
    QRubberBand* m_band;
    bool m_followsSize = false;
};
