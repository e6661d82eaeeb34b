// The curve chart and its control on the offscreen platform: filling in and out of order,
// the point under the mouse against a brute-force search, zoom by dragging, and the picture
// saved for print (and its failure).
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QFontMetrics>
#include <QImage>
#include <QImageReader>
#include <QMouseEvent>
#include <QPainter>
#include <QTemporaryDir>
#include <algorithm>
#include <random>

#include "CurveChartCtrl.h"

namespace {

constexpr int32_t kT0 = 1700000000;
const QRect kArea = CCurveChartCtrl::kChartArea;

std::vector<float> channels(int count, float base) {
    std::vector<float> values;
    for (int k = 0; k < count; ++k) {
        values.push_back(base + static_cast<float>(k) / 10);
    }
    return values;
}

TEST(CurveChart, FillingKeepsTimeOrderAndFitsTheWindow) {
    CCurveChart chart;
    EXPECT_EQ(chart.m_timeEnd - chart.m_timeStart, 600) << "ten divisions of a minute";
    chart.addSample(kT0 + 20, channels(3, 1));
    chart.addSample(kT0, channels(3, 2));       // late arrival
    chart.addSample(kT0 + 20, channels(3, 3));  // same time: after the first
    chart.addSample(kT0 + 10, channels(45, 4));
    EXPECT_EQ(chart.seriesCount(), 40) << "channels beyond 40 are dropped";
    EXPECT_EQ(chart.sampleCount(), 4);
    EXPECT_EQ(chart.m_series[0]->m_times,
              (std::vector<int32_t>{kT0, kT0 + 10, kT0 + 20, kT0 + 20}));
    EXPECT_EQ(chart.m_series[0]->m_values, (std::vector<float>{2, 4, 1, 3}));
    EXPECT_EQ(chart.m_series[39]->m_values.size(), 1u);

    chart.setViewWindow(kT0 + 5, kT0 + 8);
    EXPECT_TRUE(chart.zoomed());
    chart.fitTimeWindow();
    EXPECT_FALSE(chart.zoomed());
    EXPECT_EQ(chart.m_timeStart, kT0);
    EXPECT_EQ(chart.m_timeEnd, kT0 + 20);

    chart.clearSeries();
    EXPECT_EQ(chart.seriesCount(), 0);
    EXPECT_EQ(chart.sampleCount(), 0);
    EXPECT_EQ(chart.m_timeEnd - chart.m_timeStart, 600);

    // Nothing to draw: the painter's target stays untouched.
    QImage image(kArea.size(), QImage::Format_RGB32);
    image.fill(Qt::blue);
    QPainter painter(&image);
    chart.Draw(painter, kArea, false);
    painter.end();
    EXPECT_EQ(image.pixelColor(445, 280), QColor(Qt::blue));
}

TEST(CurveChart, NearestPointMatchesABruteForceSearch) {
    std::mt19937 random(3);
    CCurveChart chart;
    for (int i = 0; i < 3000; ++i) {
        std::vector<float> values(5);
        for (float& v : values) {
            v = static_cast<float>(random() % 1500) / 100;
        }
        chart.addSample(kT0 + i * 2, values);
    }
    chart.fitTimeWindow();
    chart.m_visible[2] = false;
    chart.setViewWindow(kT0 + 1000, kT0 + 3000);

    const ChartFrame frame = chart.frame(kArea);
    const ChartRect plot = frame.plot;
    const TimeWindow window = chart.viewWindow();
    for (int trial = 0; trial < 200; ++trial) {
        const QPoint at(plot.left + static_cast<int>(random() % (plot.width() + 1u)),
                        plot.top + static_cast<int>(random() % (plot.height() + 1u)));
        const auto found = chart.nearestPoint(kArea, at);
        ASSERT_TRUE(found.has_value());
        int64_t best = INT64_MAX;
        for (int k = 0; k < chart.seriesCount(); ++k) {
            const CCurveSeries& s = *chart.m_series[static_cast<size_t>(k)];
            for (size_t i = 0; k != 2 && i < s.m_times.size(); ++i) {
                if (s.m_times[i] < window.start || s.m_times[i] > window.end) {
                    continue;
                }
                const int64_t dx = timeToX(plot, window, s.m_times[i]) - at.x();
                const int64_t dy = valueToY(plot, s.m_values[i], frame.values.range) - at.y();
                best = std::min(best, dx * dx + dy * dy);
            }
        }
        const QPoint d = found->at - at;
        EXPECT_EQ(int64_t{d.x()} * d.x() + int64_t{d.y()} * d.y(), best) << trial;
        EXPECT_NE(found->series, 2);
        const CCurveSeries& s = *chart.m_series[static_cast<size_t>(found->series)];
        EXPECT_EQ(s.m_times[static_cast<size_t>(found->index)], found->time);
        EXPECT_EQ(s.m_values[static_cast<size_t>(found->index)], found->value);
    }
    EXPECT_FALSE(chart.nearestPoint(kArea, QPoint(plot.left - 1, 200)));
    EXPECT_FALSE(chart.nearestPoint(kArea, QPoint(300, plot.bottom + 1)));
    chart.clearSeries();
    EXPECT_FALSE(chart.nearestPoint(kArea, QPoint(300, 200)));
}

void send(QWidget& w, QEvent::Type type, QPoint at, Qt::MouseButton button) {
    const Qt::MouseButtons held = type == QEvent::MouseButtonRelease ? Qt::NoButton : button;
    QMouseEvent event(type, QPointF(at), w.mapToGlobal(QPointF(at)), button, held, Qt::NoModifier);
    QApplication::sendEvent(&w, &event);
}

TEST(CurveChartCtrl, ReadoutDragZoomAndDoubleClick) {
    CCurveChartCtrl ctrl;
    for (int i = 0; i <= 600; ++i) {
        ctrl.chart().addSample(kT0 + i, channels(2, 5));
    }
    ctrl.chart().fitTimeWindow();
    ctrl.resize(ctrl.minimumSize());
    ctrl.show();
    std::vector<std::optional<CCurveChart::CurvePoint>> readouts;
    ctrl.setReadoutHandler([&](const auto& point) { readouts.push_back(point); });
    const QPoint o = ctrl.chartOrigin();  // chart coordinates below

    const ChartFrame frame = ctrl.chart().frame(kArea);
    const int y5 = valueToY(frame.plot, 5.0f, frame.values.range);
    const int middle = frame.plot.left + frame.plot.width() / 2;
    send(ctrl, QEvent::MouseMove, o + QPoint(middle, y5 + 2), Qt::NoButton);
    ASSERT_EQ(readouts.size(), 1u);
    ASSERT_TRUE(readouts[0].has_value());
    EXPECT_EQ(readouts[0]->series, 0);
    EXPECT_NEAR(readouts[0]->time, kT0 + 300, 1);
    send(ctrl, QEvent::MouseMove, o + QPoint(20, 20), Qt::NoButton);
    ASSERT_EQ(readouts.size(), 2u);
    EXPECT_FALSE(readouts[1].has_value());

    // From the middle to past the end: the drag selects the second half.
    send(ctrl, QEvent::MouseButtonPress, o + QPoint(middle, 200), Qt::LeftButton);
    send(ctrl, QEvent::MouseMove, o + QPoint(700, 220), Qt::LeftButton);
    send(ctrl, QEvent::MouseButtonRelease, o + QPoint(900, 220), Qt::LeftButton);
    ASSERT_TRUE(ctrl.chart().zoomed());
    const int32_t zoomStart = ctrl.chart().viewWindow().start;
    EXPECT_NEAR(zoomStart, kT0 + 300, 1);
    EXPECT_EQ(ctrl.chart().viewWindow().end, kT0 + 600);

    // Too narrow a drag changes nothing; a drag inside a second still spans one.
    send(ctrl, QEvent::MouseButtonPress, o + QPoint(500, 200), Qt::LeftButton);
    send(ctrl, QEvent::MouseButtonRelease, o + QPoint(502, 200), Qt::LeftButton);
    EXPECT_EQ(ctrl.chart().viewWindow().start, zoomStart);
    ctrl.chart().setViewWindow(kT0, kT0 + 2);
    send(ctrl, QEvent::MouseButtonPress, o + QPoint(100, 200), Qt::LeftButton);
    send(ctrl, QEvent::MouseButtonRelease, o + QPoint(110, 200), Qt::LeftButton);
    EXPECT_EQ(ctrl.chart().viewWindow().end - ctrl.chart().viewWindow().start, 1);

    send(ctrl, QEvent::MouseButtonDblClick, o + QPoint(300, 200), Qt::LeftButton);
    EXPECT_FALSE(ctrl.chart().zoomed());
    EXPECT_FALSE(ctrl.grab().isNull());
}

// Each label's box, measured in the font it is drawn in on `device`.
void expectLabelsInside(const CurveGeometry& g, const QPaintDevice* device) {
    const QFontMetrics metrics(chartFont(), device);
    auto inside = [&](const ChartLabel& label) {
        const int width = metrics.horizontalAdvance(QString::fromStdString(label.text));
        EXPECT_GE(label.anchor.x - width, g.outer.left) << label.text;
        EXPECT_LE(label.anchor.x, g.outer.right) << label.text;
        EXPECT_GE(label.anchor.y - metrics.ascent(), g.outer.top) << label.text;
        EXPECT_LE(label.anchor.y, g.outer.bottom) << label.text;
    };
    std::for_each(g.voltLabels.begin(), g.voltLabels.end(), inside);
    std::for_each(g.timeLabels.begin(), g.timeLabels.end(), inside);
    for (const SeriesPath& path : g.series) {
        if (path.labelShown) {
            inside(path.label);
        }
    }
    EXPECT_FALSE(g.timeLabels.empty());
}

// A day of records from late evening: labels with the date, in the print size's 100 px text
// and on screen.
TEST(CurveChartPicture, EveryLabelLiesWithinThePicture) {
    CCurveChart chart;
    for (int i = 0; i < 144; ++i) {
        chart.addSample(kT0 + i * 600, channels(40, 12.5f));
    }
    chart.fitTimeWindow();
    QImage print(7016, 4961, QImage::Format_Grayscale8);
    print.setDotsPerMeterX(23622);
    print.setDotsPerMeterY(23622);
    expectLabelsInside(chart.geometry(print.rect(), true, &print), &print);
    QImage screen(kArea.size(), QImage::Format_RGB32);
    expectLabelsInside(chart.geometry(kArea, false, &screen), &screen);
}

TEST(CurveChartPicture, SavedAtPrintSizeOrToldWhyNot) {
    CCurveChart chart;
    for (int i = 0; i < 100; ++i) {
        chart.addSample(kT0 + i * 6, channels(40, 3));
    }
    chart.fitTimeWindow();
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    std::string error;
    const std::string missing = dir.filePath("no-such-folder/chart.png").toStdString();
    EXPECT_FALSE(saveChartPicture(chart, missing, error));
    EXPECT_NE(error.find("文件夹不存在"), std::string::npos) << error;

    const std::string good = dir.filePath("chart.png").toStdString();
    ASSERT_TRUE(saveChartPicture(chart, good, error)) << error;
    // Qt's reader limit counts 4 bytes a pixel; the grey picture is a quarter of that.
    QImageReader::setAllocationLimit(256);
    const QImage picture(QString::fromStdString(good));
    ASSERT_FALSE(picture.isNull());
    EXPECT_EQ(picture.size(), QSize(7016, 4961));
    EXPECT_EQ(picture.dotsPerMeterX(), 23622);
    EXPECT_EQ(picture.pixelColor(100, 100), QColor(Qt::white));
    EXPECT_EQ(picture.pixelColor(1000, 248), QColor(Qt::black)) << "the frame's top edge";
}

}  // namespace
