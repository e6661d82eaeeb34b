// The curve chart's geometry alone: the control's own rectangle in both variants, colours,
// the series the picture leaves out, edges and zoom, the empty window, decimation that must
// keep every column's extremes, the axes that follow the data and the labels that give way.
#include <gtest/gtest.h>

#include <cstdlib>
#include <ctime>
#include <map>
#include <optional>
#include <random>
#include <string>

#include "CurveGeometry.h"

namespace {

constexpr ChartRect kArea{0, 0, 890, 560};
constexpr int32_t kT0 = 1700000000;  // 2023-11-14 22:13:20 UTC

// The old volt axis: 0-15 V in fifteen steps.
CurveChartState fixedAxisState() {
    CurveChartState state;
    state.m_valueAxis.fixed = ValueRange{0, 15};
    return state;
}

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
    CurveChartState state = fixedAxisState();
    addSeries(state, {{kT0, 12.0f}, {kT0 + 300, 13.0f}, {kT0 + 600, 5.0f}});
    addSeries(state, {{kT0, 2.0f}, {kT0 + 600, 10.0f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});

    ASSERT_FALSE(g.empty);
    EXPECT_EQ(g.plot, (ChartRect{44, 28, 846, 532}));
    EXPECT_FLOAT_EQ(g.yScale, 33.6f);
    EXPECT_FLOAT_EQ(g.xScale, 802.0f / 600);
    EXPECT_EQ(g.sampleCount, 3);
    // Ten minutes: a line and a label at every whole minute, from 40 s after the start.
    ASSERT_EQ(g.gridX.size(), 10u);
    EXPECT_EQ(g.gridX.front(), 97);  // 44 + 40 x 802 / 600
    EXPECT_EQ(g.gridX[1], 177);
    ASSERT_EQ(g.gridY.size(), 14u);  // the top and bottom lines are the frame
    EXPECT_EQ(g.gridY.front(), 61);
    ASSERT_EQ(g.voltLabels.size(), 16u);
    EXPECT_EQ(g.voltLabels.front().text, "15.0V");
    EXPECT_EQ(g.voltLabels.front().anchor, (ChartPoint{41, 28}));
    EXPECT_EQ(g.voltLabels.back().text, "0.0V");
    EXPECT_EQ(g.voltLabels.back().anchor, (ChartPoint{41, 532}));
    ASSERT_EQ(g.timeLabels.size(), 10u);
    EXPECT_EQ(g.timeLabels[0].anchor, (ChartPoint{97, 557}));
    EXPECT_EQ(g.timeLabels[0].text.size(), 5u) << "HH:MM";
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
    EXPECT_EQ(wide.timeLabels[0].anchor.y, 532 + 120);
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
    CurveChartState state = fixedAxisState();
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
    EXPECT_EQ(g.gridX.size(), 10u);
    EXPECT_EQ(g.voltLabels.size(), 16u);
    EXPECT_EQ(g.timeLabels.size(), 10u);
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
    CurveChartState state = fixedAxisState();
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

    EXPECT_EQ(g.markers.size(), 10u) << "only the samples inside the view";
    // The value axis follows what the view shows: 1 V to 5.125 V, not the 15 V outside.
    EXPECT_LE(g.values.low, 1.0);
    EXPECT_GE(g.values.high, 5.125);
    EXPECT_LT(g.values.high, 7.0);
    const std::vector<ChartPoint>& ramped = g.series[0].points;
    ASSERT_EQ(ramped.size(), 12u);  // two cut ends and the ten samples between them
    EXPECT_EQ(ramped.front(), (ChartPoint{44, valueToY(g.plot, 2.625f, g.values)}));
    EXPECT_EQ(ramped.back(), (ChartPoint{846, valueToY(g.plot, 5.125f, g.values)}));
    EXPECT_EQ(g.series[0].label.anchor.y, valueToY(g.plot, 5.125f, g.values) + 4)
        << "the label follows the curve where it leaves the view";
    for (const ChartPoint& p : ramped) {
        EXPECT_GE(p.x, 44);
        EXPECT_LE(p.x, 846);
    }
    const int y1 = valueToY(g.plot, 1, g.values);
    EXPECT_EQ(g.series[1].points, (std::vector<ChartPoint>{{44, y1}, {846, y1}}));
    EXPECT_TRUE(g.series[2].points.empty());
    EXPECT_FALSE(g.series[2].labelShown) << "a curve outside the view has no end to name";
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
                                                  TimeWindow window, ValueRange values) {
    std::map<int, std::pair<int, int>> extremes;
    for (size_t i = 0; i < s.m_times.size(); ++i) {
        const int x = timeToX(plot, window, s.m_times[i]);
        const int y = valueToY(plot, s.m_values[i], values);
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
    EXPECT_EQ(kept, columnExtremes(dense, g.plot, window, g.values));
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

// The local time zone, for as long as it lives.
class LocalZone {
  public:
    explicit LocalZone(const char* zone) {
        if (const char* old = std::getenv("TZ")) {
            m_old = old;
        }
        setenv("TZ", zone, 1);
        tzset();
    }
    ~LocalZone() {
        if (m_old) {
            setenv("TZ", m_old->c_str(), 1);
        } else {
            unsetenv("TZ");
        }
        tzset();
    }
    LocalZone(const LocalZone&) = delete;
    LocalZone& operator=(const LocalZone&) = delete;

  private:
    std::optional<std::string> m_old;
};

// Every character 8 px wide, text 12 px above its baseline.
ChartTextMetrics fixedWidthText() {
    ChartTextMetrics text;
    text.ascent = 12;
    text.width = [](const std::string& s) { return static_cast<int>(s.size()) * 8; };
    return text;
}

std::vector<std::string> texts(const std::vector<ChartLabel>& labels) {
    std::vector<std::string> result;
    for (const ChartLabel& label : labels) {
        result.push_back(label.text);
    }
    return result;
}

// 40 cells near 13 V rising a little over ten minutes, cell 21 a volt below the rest.
CurveChartState bankNear13Volts() {
    CurveChartState state;
    for (int k = 0; k < 40; ++k) {
        const float v = 13.0f + 0.005f * static_cast<float>(k);
        addSeries(state, {{kT0, v}, {kT0 + 600, v + 0.1f}});
    }
    state.m_series[20]->m_values = {12.0f, 12.2f};
    return state;
}

TEST(CurveGeometry, TheValueAxisFollowsTheCurvesShown) {
    CurveChartState state = bankNear13Volts();
    CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    EXPECT_NEAR(g.values.low, 11.8, 1e-9);
    EXPECT_NEAR(g.values.high, 13.4, 1e-9);
    EXPECT_EQ(g.voltLabels.front().text, "13.4V");
    EXPECT_EQ(g.voltLabels.front().anchor.y, g.plot.top);
    EXPECT_EQ(g.voltLabels.back().text, "11.8V");
    EXPECT_EQ(g.voltLabels.back().anchor.y, g.plot.bottom);
    EXPECT_EQ(g.gridY.size(), 7u);
    for (const SeriesPath& path : g.series) {
        for (const ChartPoint& p : path.points) {
            EXPECT_GT(p.y, g.plot.top) << "no curve runs on the frame";
            EXPECT_LT(p.y, g.plot.bottom);
        }
    }

    // With the weak cell hidden the band itself fills the plot, in hundredths.
    state.m_visible[20] = false;
    g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    EXPECT_EQ(g.voltLabels.front().text, "13.35V");
    EXPECT_EQ(g.voltLabels.back().text, "12.95V");

    // A zoom onto the first minute: the axis follows what the view shows.
    const CurveGeometry zoomed = curveGeometry(state, kArea, false, {kT0, kT0 + 60});
    EXPECT_LT(zoomed.values.high, g.values.high);

    // A flat line gets the narrowest span around it; nothing is divided by zero.
    CurveChartState flat;
    addSeries(flat, {{kT0, 13.0f}, {kT0 + 600, 13.0f}});
    g = curveGeometry(flat, kArea, false, {kT0, kT0 + 600});
    EXPECT_LT(g.values.low, 13.0);
    EXPECT_GT(g.values.high, 13.0);
    EXPECT_LE(g.values.high - g.values.low, 0.2);
    EXPECT_EQ(g.series[0].points.front().y, g.series[0].points.back().y);

    // Nothing shown to follow: the fixed range; values never go below 0 on their own.
    state.m_visible.fill(false);
    g = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    EXPECT_EQ(g.voltLabels.front().text, "15.0V");
    CurveChartState low;
    addSeries(low, {{kT0, 0.0f}, {kT0 + 600, 2.0f}});
    EXPECT_EQ(curveGeometry(low, kArea, false, {kT0, kT0 + 600}).values.low, 0.0);
}

TEST(CurveGeometry, TheValueAxisTakesAnyUnit) {
    CurveChartState state;
    state.m_valueAxis.unit = "mΩ";
    state.m_valueAxis.minDecimals = 0;
    state.m_valueAxis.minSpan = 1;
    addSeries(state, {{kT0, 250.0f}, {kT0 + 86400, 310.0f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 86400});
    EXPECT_EQ(texts(g.voltLabels),
              (std::vector<std::string>{"320mΩ", "310mΩ", "300mΩ", "290mΩ", "280mΩ", "270mΩ",
                                        "260mΩ", "250mΩ", "240mΩ"}));
}

TEST(CurveGeometry, TimeTicksFallOnRoundLocalTimesWithTheDateAcrossDays) {
    const LocalZone utc("UTC");
    auto labels = [&](int32_t start, int32_t end) {
        CurveChartState state;
        addSeries(state, {{start, 1.0f}, {end, 2.0f}});
        return texts(curveGeometry(state, kArea, false, {start, end}).timeLabels);
    };
    // Inside one day: times only.
    EXPECT_EQ(labels(kT0, kT0 + 120).front(), "22:13:20");
    // Three days: every six hours, with the date.
    const std::vector<std::string> days = labels(kT0, kT0 + 3 * 86400);
    ASSERT_EQ(days.size(), 12u);
    EXPECT_EQ(days.front(), "11-15 00:00");
    EXPECT_EQ(days[1], "11-15 06:00");
    EXPECT_EQ(days.back(), "11-17 18:00");
    // Over New Year the year is written too; over a month, the days alone.
    const int32_t newYearsEve = 1704052800;  // 2023-12-31 20:00 UTC
    const std::vector<std::string> newYear = labels(newYearsEve, newYearsEve + 8 * 3600);
    EXPECT_EQ(newYear.front(), "2023-12-31 20:00");
    EXPECT_EQ(newYear.back(), "2024-01-01 04:00");
    const std::vector<std::string> month = labels(kT0, kT0 + 30 * 86400);
    EXPECT_EQ(month.front(), "11-15");
    EXPECT_LE(month.size(), 12u);

    // Wider labels need fewer ticks, and none leaves the picture or covers the next.
    CurveChartState state;
    addSeries(state, {{kT0, 1.0f}, {kT0 + 3 * 86400, 2.0f}});
    const CurveGeometry g =
        curveGeometry(state, kArea, false, {kT0, kT0 + 3 * 86400}, fixedWidthText());
    ASSERT_EQ(g.timeLabels.size(), 6u) << "every twelve hours";
    EXPECT_EQ(g.timeLabels.front().text, "11-15 00:00");
    for (size_t i = 0; i < g.timeLabels.size(); ++i) {
        const int left = g.timeLabels[i].anchor.x - 8 * 11;
        EXPECT_GE(left, kArea.left);
        EXPECT_LE(g.timeLabels[i].anchor.x, kArea.right);
        if (i > 0) {
            EXPECT_GT(left, g.timeLabels[i - 1].anchor.x);
        }
    }
}

TEST(CurveGeometry, TimeTicksStayOnTheHourAcrossAClockChange) {
    const LocalZone berlin("Europe/Berlin");
    CurveChartState state;
    const int32_t start = 1711796400;  // 2024-03-30 12:00 CET; the clocks go on an hour that night
    const int32_t end = 1711965600;    // 2024-04-01 12:00 CEST
    addSeries(state, {{start, 1.0f}, {end, 2.0f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {start, end});
    ASSERT_GE(g.timeLabels.size(), 6u);
    for (const ChartLabel& label : g.timeLabels) {
        const std::string time = label.text.substr(label.text.size() - 5);
        EXPECT_TRUE(time == "00:00" || time == "06:00" || time == "12:00" || time == "18:00")
            << label.text;
    }
}

TEST(CurveGeometry, CurveLabelsGiveWayInsteadOfPilingUp) {
    const CurveChartState state = bankNear13Volts();
    const ChartTextMetrics text = fixedWidthText();
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600}, text);
    std::vector<ChartRect> boxes;
    bool weakCellNamed = false;
    for (const SeriesPath& path : g.series) {
        if (!path.labelShown) {
            continue;
        }
        const ChartLabel& l = path.label;
        const ChartRect box{l.anchor.x - 8 * static_cast<int>(l.text.size()), l.anchor.y - 12,
                            l.anchor.x, l.anchor.y + 1};
        EXPECT_LE(box.right, kArea.right) << l.text;
        for (const ChartRect& other : boxes) {
            const bool apart = box.right <= other.left || other.right <= box.left ||
                               box.bottom <= other.top || other.bottom <= box.top;
            EXPECT_TRUE(apart) << l.text;
        }
        boxes.push_back(box);
        weakCellNamed = weakCellNamed || l.text == "#21";
    }
    EXPECT_TRUE(weakCellNamed) << "the curve apart from the rest keeps its name";
    EXPECT_GT(boxes.size(), 2u);
    EXPECT_LT(boxes.size(), 40u);

    // Unmeasured text covers nothing: every curve keeps its label.
    const CurveGeometry plain = curveGeometry(state, kArea, false, {kT0, kT0 + 600});
    for (const SeriesPath& path : plain.series) {
        EXPECT_TRUE(path.labelShown);
    }
}

TEST(CurveGeometry, WideValueLabelsPushThePlotInNotOutOfThePicture) {
    CurveChartState state;
    addSeries(state, {{kT0, 600.0f}, {kT0 + 600, 655.35f}});
    const CurveGeometry g = curveGeometry(state, kArea, false, {kT0, kT0 + 600}, fixedWidthText());
    for (const ChartLabel& label : g.voltLabels) {
        EXPECT_GE(label.anchor.x - 8 * static_cast<int>(label.text.size()), kArea.left)
            << label.text;
        EXPECT_LT(label.anchor.x, g.plot.left);
    }
    EXPECT_GT(g.plot.left, 44);
}

}  // namespace
