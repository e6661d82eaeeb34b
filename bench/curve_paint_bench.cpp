// Benchmark: one repaint of the curve chart with 40 channels of 20,000 samples each into the
// control's 890 x 560 rectangle, beside a plain 2 px pen drawing every sample; and the search
// for the point under the mouse.
// Goal: at most 20 ms. Not a test; prints its figures.
#include <QApplication>
#include <QImage>
#include <QPainter>
#include <QPolygon>
#include <algorithm>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "CurveChart.h"

namespace {

constexpr int kChannels = 40;
constexpr int kSamples = 20000;
constexpr int32_t kStart = 1700000000;
const QRect kArea(0, 0, 890, 560);

using Clock = std::chrono::steady_clock;

double millisecondsSince(Clock::time_point start) {
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

// The CPU time of this thread: what a paint costs even when other work shares the cores.
double threadCpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return static_cast<double>(t.tv_sec) * 1e3 + static_cast<double>(t.tv_nsec) / 1e6;
}

// Cells near 13 V drifting slowly, with a little noise on every reading.
void fill(CCurveChart& chart) {
    std::vector<float> values(kChannels);
    unsigned noise = 12345;
    for (int i = 0; i < kSamples; ++i) {
        for (int k = 0; k < kChannels; ++k) {
            noise = noise * 1103515245u + 12345u;
            const float jitter = static_cast<float>((noise >> 16) % 200) / 1000.0f;
            values[static_cast<size_t>(k)] =
                12.0f + 0.05f * k + std::sin(i / 2000.0f + k) * 0.8f + jitter;
        }
        chart.addSample(kStart + i * 3, values);
    }
    chart.fitTimeWindow();
}

// Every sample joined by a 2 px pen, as the picture would be drawn without decimation.
void naiveDraw(QPainter& painter, const CCurveChart& chart) {
    const CurveGeometry g = chart.geometry(kArea, false);
    painter.fillRect(kArea, Qt::white);
    for (int k = 0; k < chart.seriesCount(); ++k) {
        const CCurveSeries& s = *chart.m_series[static_cast<size_t>(k)];
        QPolygon line(static_cast<int>(s.m_times.size()));
        for (size_t i = 0; i < s.m_times.size(); ++i) {
            line.setPoint(static_cast<int>(i), timeToX(g.plot, g.window, s.m_times[i]),
                          valueToY(g.plot, s.m_values[i], g.values));
        }
        const ChartColor c = chart.m_seriesColors[static_cast<size_t>(k)];
        painter.setPen(QPen(QColor(c.r, c.g, c.b), 2));
        painter.drawPolyline(line);
    }
}

struct Figures {
    double median;
    double worst;
    double cpuMedian;
    double cpuWorst;
};

template <typename Paint>
Figures measure(int runs, Paint paint) {
    QImage image(kArea.size(), QImage::Format_RGB32);
    std::vector<double> times;
    std::vector<double> cpu;
    for (int i = 0; i < runs; ++i) {
        QPainter painter(&image);
        const auto start = Clock::now();
        const double cpuStart = threadCpuMilliseconds();
        paint(painter);
        painter.end();
        times.push_back(millisecondsSince(start));
        cpu.push_back(threadCpuMilliseconds() - cpuStart);
    }
    std::sort(times.begin(), times.end());
    std::sort(cpu.begin(), cpu.end());
    return {times[times.size() / 2], times.back(), cpu[cpu.size() / 2], cpu.back()};
}

}  // namespace

int main(int argc, char** argv) {
    setenv("QT_QPA_PLATFORM", "offscreen", 0);
    QApplication app(argc, argv);
    const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 30;
    CCurveChart chart;
    fill(chart);

    measure(3, [&](QPainter& p) { chart.Draw(p, kArea, false); });  // warm-up: fonts
    const Figures ours = measure(runs, [&](QPainter& p) {
        p.fillRect(kArea, Qt::white);
        chart.Draw(p, kArea, false);
    });
    const Figures naive =
        measure(std::max(3, runs / 10), [&](QPainter& p) { naiveDraw(p, chart); });

    // The readout's search under the mouse, over a grid of cursor positions in the plot.
    double worstLookup = 0;
    for (int x = 50; x < 846; x += 40) {
        for (int y = 30; y < 532; y += 50) {
            const auto start = Clock::now();
            volatile bool found = chart.nearestPoint(kArea, QPoint(x, y)).has_value();
            (void)found;
            worstLookup = std::max(worstLookup, millisecondsSince(start));
        }
    }

    std::printf("%d series x %d samples, 890 x 560, %d runs (wall clock; CPU of the thread):\n",
                kChannels, kSamples, runs);
    std::printf(
        "  chart Draw:             median %7.2f ms, worst %7.2f ms; CPU %6.2f / %6.2f ms"
        "  (goal <= 20 ms)\n",
        ours.median, ours.worst, ours.cpuMedian, ours.cpuWorst);
    std::printf("  2 px pen, every sample: median %7.2f ms, worst %7.2f ms; CPU %6.2f / %6.2f ms\n",
                naive.median, naive.worst, naive.cpuMedian, naive.cpuWorst);
    std::printf("  point under the mouse:  worst %7.3f ms over 220 positions\n", worstLookup);
    return ours.worst <= 20.0 ? 0 : 1;
}
