// The curve chart's geometry alone: the control's own rectangle in both variants, colours,
// the series the picture leaves out, edges and zoom, the empty window, and decimation that
// must keep every column's extremes.
#include <gtest/gtest.h>

#include <map>
#include <random>

#include "CurveGeometry.h"

namespace {

constexpr ChartRect kArea{0, 0, 890, 560};
constexpr int32_t kT0 = 1700000000;

CCurveSeries& addSeries(CurveChartState& state, std::vector<std::pair<int32_t, float>> samples) {
    auto series = std::make_unique<CCurveSeries>();
    for (auto [t, v] : samples) {
        series->m_times.push_back(t);
        series->m_values.push_back(v);
    }
    state.m_series.push_back(std::move(series));
    return *state.m_series.back();
}

const SeriesPath* pathOf(const CurveGeometry& g, int index) {
    for (const SeriesPath& p : g.series) {
        if (p.index == index) {
            return &p;
        }
    }
    return nullptr;
}

TEST(CurveGeometry, TheControlsRectangleInBothVariants) {
    CurveChartState state;
    addSeries(state, {{kT0, 12.0f}, {kT0 + 300, 13.0f}, {kT0 + 600, 5.0f}});
    addSeries(state, {{kT0, 2.0f}, {kT0 + 600, 10.0f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});

    ASSERT_FALSE(g.empty);
    EXPECT_EQ(g.plot, (ChartRect{44, 28, 846, 532}));
    EXPECT_FLOAT_EQ(g.yScale, 33.6f);
    EXPECT_FLOAT_EQ(g.xScale, 802.0f / 600);
    EXPECT_EQ(g.sampleCount, 3);
    ASSERT_EQ(g.gridX.size(), 11u);
    EXPECT_EQ(g.gridX.front(), 846);
    EXPECT_EQ(g.gridX[1], 765);  // 846 - 80.2
    EXPECT_EQ(g.gridX.back(), 44);
    ASSERT_EQ(g.gridY.size(), 14u);  // the top and bottom lines are the frame
    EXPECT_EQ(g.gridY.front(), 61);
    ASSERT_EQ(g.voltLabels.size(), 16u);
    EXPECT_EQ(g.voltLabels.front().text, "15.0V");
    EXPECT_EQ(g.voltLabels.front().anchor, (ChartPoint{41, 28}));
    EXPECT_EQ(g.voltLabels.back().text, "0.0V");
    EXPECT_EQ(g.voltLabels.back().anchor, (ChartPoint{41, 532}));
    ASSERT_EQ(g.timeLabels.size(), 2u);
    EXPECT_EQ(g.timeLabels[0].anchor, (ChartPoint{94, 557}));
    EXPECT_EQ(g.timeLabels[1].anchor, (ChartPoint{866, 557}));
    EXPECT_EQ(g.timeLabels[0].text, clockText(kT0));
    EXPECT_EQ(g.timeLabels[1].text, clockText(kT0 + 600));
    EXPECT_EQ(g.markers.size(), 3u);
    EXPECT_EQ(g.markers[1], (ChartRect{442, 529, 448, 535}));  // 44 + 401 +- 3

    ASSERT_EQ(g.series.size(), 2u);
    EXPECT_EQ(g.series[0].label.text, "#1");
    EXPECT_EQ(g.series[0].label.anchor, (ChartPoint{891, 368}));  // 532 - 5 x 33.6 + 4
    EXPECT_EQ(g.series[0].label.color, (ChartColor{255, 0, 0}));
    EXPECT_EQ(g.series[1].label.text, "#2");
    EXPECT_EQ(g.series[1].label.anchor, (ChartPoint{871, 200}));
    EXPECT_EQ(g.series[1].color, (ChartColor{206, 51, 51}));
    EXPECT_EQ(g.series[0].points, (std::vector<ChartPoint>{{44, 128}, {445, 95}, {846, 364}}));
    EXPECT_EQ(g.curvePenWidth, 2);

    const CurveGeometry wide = curveGeometry(state, kArea, true, {kT0, kT0 + 600});
    EXPECT_EQ(wide.curvePenWidth, 15);
    EXPECT_EQ(wide.series[0].label.anchor.x, 846 + 295);
    EXPECT_EQ(wide.series[1].label.anchor.x, 846 + 150);
    EXPECT_EQ(wide.series[1].color, (ChartColor{0, 0, 0}));
    EXPECT_EQ(wide.series[1].label.color, (ChartColor{0, 0, 0}));
    EXPECT_EQ(wide.timeLabels[0].anchor, (ChartPoint{94, 652}));
    EXPECT_TRUE(wide.series[0].columns.empty()) << "print strokes the points with its pen";
}

TEST(CurveGeometry, SeriesColours) {
    const std::vector<ChartColor> colors = defaultSeriesColors();
    ASSERT_EQ(colors.size(), 255u);
    EXPECT_EQ(colors[0], (ChartColor{255, 0, 0}));
    EXPECT_EQ(colors[5], (ChartColor{10, 255, 255}));
    EXPECT_EQ(colors[6], (ChartColor{217, 50, 50}));
    EXPECT_EQ(colors[26], (ChartColor{5, 46, 46}));
    EXPECT_EQ(colors[39], (ChartColor{136, 197, 197}));
    EXPECT_EQ(colors[254],
              (ChartColor{(255 - 49 * 254) & 0xFF, (51 * 254) & 0xFF, (51 * 254) & 0xFF}));
}

TEST(CurveGeometry, WhatThePictureLeavesOut) {
    CurveChartState state;
    EXPECT_TRUE(curveGeometry(state, kArea, false, {kT0, kT0 + 600}).empty);

    addSeries(state, {{kT0 + 300, 7.5f}});  // one sample: its label only
    addSeries(state, {});                   // none: not even a label
    addSeries(state, {{kT0, 1.0f}, {kT0 + 600, 2.0f}});
    CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    ASSERT_EQ(g.series.size(), 2u);
    EXPECT_EQ(g.series[0].index, 0);
    EXPECT_EQ(g.series[0].points.size(), 1u);
    EXPECT_TRUE(g.series[0].columns.empty());
    EXPECT_EQ(g.series[0].label.anchor.y, 532 - 252 + 4);
    EXPECT_EQ(g.series[1].index, 2);
    EXPECT_FALSE(g.series[1].columns.empty());
    EXPECT_EQ(g.markers.size(), 1u);

    // All hidden: the frame, grid, labels and the markers of series 0 stay.
    state.m_visible.fill(false);
    g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    EXPECT_FALSE(g.empty);
    EXPECT_TRUE(g.series.empty());
    EXPECT_EQ(g.gridX.size(), 11u);
    EXPECT_EQ(g.voltLabels.size(), 16u);
    EXPECT_EQ(g.timeLabels.size(), 2u);
    EXPECT_EQ(g.markers.size(), 1u);
}

TEST(CurveGeometry, AllFortyChannelsAreDrawnAndNoMore) {
    CurveChartState state;
    for (int k = 0; k < 40; ++k) {
        addSeries(state, {{kT0, 1.0f}, {kT0 + 60, 2.0f}});
    }
    CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 60});
    ASSERT_EQ(g.series.size(), 40u);
    EXPECT_EQ(g.series.back().index, 39);
    EXPECT_EQ(g.series.back().label.text, "#40");
    EXPECT_EQ(g.series.back().label.anchor.x, 846 + 25);

    addSeries(state, {{kT0, 1.0f}, {kT0 + 60, 2.0f}});  // a 41st has no flag: never drawn
    state.m_visible[38] = false;
    g = curveGeometry(state, kArea, false, {kT0, kT0 + 60});
    ASSERT_EQ(g.series.size(), 39u);
    EXPECT_EQ(g.series.back().index, 39);
    EXPECT_EQ(pathOf(g, 38), nullptr);
}

TEST(CurveGeometry, EdgesOfTheAxesAndValuesOffThem) {
    CurveChartState state;
    addSeries(state, {{kT0, 15.0f},
                      {kT0 + 100, 0.0f},
                      {kT0 + 200, 16.0f},
                      {kT0 + 300, -1.0f},
                      {kT0 + 600, 7.5f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    const std::vector<ChartPoint>& p = g.series[0].points;
    ASSERT_EQ(p.size(), 5u);
    EXPECT_EQ(p[0], (ChartPoint{44, 28})) << "15 V at the start: the top left corner";
    EXPECT_EQ(p[1].y, 532) << "0 V on the bottom edge";
    EXPECT_EQ(p[2].y, -5) << "above 15 V: drawn above the plot, not clipped";
    EXPECT_EQ(p[3].y, 565) << "below 0 V: drawn below it";
    EXPECT_EQ(p[4], (ChartPoint{846, 280})) << "the window's end on the right edge";
}

TEST(CurveGeometry, AZoomedWindowCutsTheCurvesAtItsEdges) {
    CurveChartState state;
    std::vector<std::pair<int32_t, float>> ramp;
    for (int i = 0; i <= 60; ++i) {
        ramp.push_back({kT0 + i * 10, static_cast<float>(i) / 4});  // 0 .. 15 V over 600 s
    }
    addSeries(state, ramp);
    addSeries(state, {{kT0, 1.0f}, {kT0 + 600, 1.0f}});        // crosses the whole view
    addSeries(state, {{kT0 + 500, 9.0f}, {kT0 + 590, 9.0f}});  // after it
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0 + 105, kT0 + 205});

    EXPECT_EQ(g.timeLabels[0].text, clockText(kT0 + 105));
    EXPECT_EQ(g.timeLabels[1].text, clockText(kT0 + 205));
    EXPECT_EQ(g.markers.size(), 10u) << "only the samples inside the view";
    const std::vector<ChartPoint>& ramped = g.series[0].points;
    ASSERT_EQ(ramped.size(), 12u);  // two cut ends and the ten samples between them
    EXPECT_EQ(ramped.front(), (ChartPoint{44, valueToY(g.plot, 2.625f)}));
    EXPECT_EQ(ramped.back(), (ChartPoint{846, valueToY(g.plot, 5.125f)}));
    EXPECT_EQ(g.series[0].label.anchor.y, valueToY(g.plot, 5.125f) + 4)
        << "the label follows the curve where it leaves the view";
    for (const ChartPoint& p : ramped) {
        EXPECT_GE(p.x, 44);
        EXPECT_LE(p.x, 846);
    }
    EXPECT_EQ(g.series[1].points,
              (std::vector<ChartPoint>{{44, valueToY(g.plot, 1)}, {846, valueToY(g.plot, 1)}}));
    EXPECT_TRUE(g.series[2].points.empty());
    EXPECT_EQ(g.series[2].label.anchor.y, valueToY(g.plot, 9) + 4);
}

TEST(CurveGeometry, AnEmptyWindowIsWidenedNotDividedBy) {
    CurveChartState state;
    addSeries(state, {{kT0, 6.0f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0});
    EXPECT_EQ(g.window.start, kT0 - kDegenerateWindowHalfWidth);
    EXPECT_EQ(g.window.end, kT0 + kDegenerateWindowHalfWidth);
    EXPECT_FLOAT_EQ(g.xScale, 802.0f / 60);
    EXPECT_EQ(g.series[0].points.front().x, 445) << "the single time in the middle";
    EXPECT_EQ(g.markers.front(), (ChartRect{442, 529, 448, 535}));

    const TimeWindow inverted = usableWindow({kT0 + 10, kT0});
    EXPECT_EQ(inverted.start, kT0);
    EXPECT_EQ(inverted.end, kT0 + 10);
    const TimeWindow atTheEnd = usableWindow({INT32_MAX, INT32_MAX});
    EXPECT_EQ(atTheEnd.end, INT32_MAX);
    EXPECT_LT(atTheEnd.start, atTheEnd.end);
}

// Per pixel column of the plot, the highest and lowest row any sample of `s` reaches.
std::map<int, std::pair<int, int>> columnExtremes(const CCurveSeries& s, const ChartRect& plot,
                                                  TimeWindow window) {
    std::map<int, std::pair<int, int>> extremes;
    for (size_t i = 0; i < s.m_times.size(); ++i) {
        const int x = timeToX(plot, window, s.m_times[i]);
        const int y = valueToY(plot, s.m_values[i]);
        auto [at, fresh] = extremes.try_emplace(x, y, y);
        at->second.first = std::min(at->second.first, y);
        at->second.second = std::max(at->second.second, y);
    }
    return extremes;
}

TEST(CurveGeometry, DecimationKeepsEveryColumnsExtremes) {
    std::mt19937 random(7);
    CurveChartState state;
    CCurveSeries& dense = addSeries(state, {});
    int32_t t = kT0;
    for (int i = 0; i < 20000; ++i) {
        t += static_cast<int32_t>(random() % 4);  // repeated times too
        dense.m_times.push_back(t);
        const bool spike = random() % 500 == 0;
        dense.m_values.push_back(spike ? static_cast<float>(random() % 20) - 2.0f
                                       : 12.0f + static_cast<float>(random() % 1000) / 500);
    }
    CCurveSeries& sparse = addSeries(state, {});
    for (int i = 0; i < 700; ++i) {
        sparse.m_times.push_back(kT0 + i * 40);
        sparse.m_values.push_back(static_cast<float>(random() % 1500) / 100);
    }
    const TimeWindow window{kT0, t};
    const CurveGeometry g = curveGeometry(state, kArea, false, window);

    const SeriesPath& path = g.series[0];
    EXPECT_LE(path.points.size(), 4u * 803);
    std::map<int, std::pair<int, int>> kept;
    for (size_t i = 0; i < path.points.size(); ++i) {
        const ChartPoint p = path.points[i];
        auto [at, fresh] = kept.try_emplace(p.x, p.y, p.y);
        at->second.first = std::min(at->second.first, p.y);
        at->second.second = std::max(at->second.second, p.y);
        if (i > 0) {
            EXPECT_LE(path.points[i - 1].x, p.x) << "left to right";
        }
    }
    EXPECT_EQ(kept, columnExtremes(dense, g.plot, window));
    // The screen stroke covers each column from its highest to its lowest sample.
    std::map<int, ChartRect> strokes;
    for (const ChartRect& c : path.columns) {
        EXPECT_EQ(c.width(), 2);
        EXPECT_TRUE(strokes.emplace(c.left, c).second) << "one run per column";
    }
    for (const auto& [x, rows] : kept) {
        ASSERT_TRUE(strokes.count(x)) << x;
        EXPECT_LE(strokes[x].top, rows.first);
        EXPECT_GE(strokes[x].bottom, rows.second + 2);
    }

    EXPECT_EQ(g.series[1].points.size(), 700u) << "fewer samples than columns: all kept";

    // An area too small for a plot draws what it can and returns.
    for (const ChartRect area : {ChartRect{10, 10, 10, 10}, ChartRect{50, 50, 0, 0}}) {
        EXPECT_EQ(curveGeometry(state, area, false, window).series.size(), 2u);
    }
}

}  // namespace
