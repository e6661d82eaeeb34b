// The resistance trend alone: changes against a baseline at and around the thresholds, a
// baseline cell of zero or missing, no baseline at all, unmeasured cells, and the per-cell
// series in time order.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "ResistanceTrend.h"

namespace {

using namespace analysis;
using Cells = std::vector<std::optional<double>>;

ResistanceRecord record(int64_t time, double value) {
    ResistanceRecord r;
    r.time = time;
    r.cells.fill(value);
    return r;
}

TEST(ResistanceChange, AgainstTheBaselineAtAndAroundTheThresholds) {
    const ResistanceRecord baseline = record(1'600'000'000, 1.0);
    ResistanceRecord now = record(1'630'000'000, 1.0);
    now.cells[0] = 1.2;    // +20 %, which the division makes 19.999999999999996
    now.cells[1] = 1.199;  // just under
    now.cells[2] = 1.5;    // +50 %
    now.cells[3] = 2.5;
    now.cells[4] = 0.7;  // a drop is no ageing
    const ChangeReport r = compareResistances(now.cells, baseline.cells);

    ASSERT_EQ(r.cells.size(), 40u);
    EXPECT_EQ(r.cells[0].band, Band::Warning);
    EXPECT_NEAR(*r.cells[0].percent, 20.0, 1e-9);
    EXPECT_EQ(r.cells[0].reference, ChangeReference::Baseline);
    EXPECT_EQ(r.cells[1].band, Band::Normal);
    EXPECT_EQ(r.cells[2].band, Band::OverLimit);
    EXPECT_NEAR(*r.cells[3].percent, 150.0, 1e-9);
    EXPECT_NEAR(*r.cells[4].percent, -30.0, 1e-9);
    EXPECT_EQ(r.cells[4].band, Band::Normal);
    EXPECT_EQ(r.cells[5].percent, 0.0);
    EXPECT_EQ(r.failures, 2);
    EXPECT_EQ(r.warnings, 1);
    EXPECT_EQ(r.level, VerdictLevel::Fail);

    // Both thresholds are editable; one that is no number is simply not applied.
    const ChangeReport strict = compareResistances(now.cells, baseline.cells, {10, 30});
    EXPECT_EQ(strict.cells[1].band, Band::Warning);
    EXPECT_EQ(strict.cells[0].band, Band::Warning);
    const ChangeReport noFail = compareResistances(now.cells, baseline.cells, {20, std::nan("")});
    EXPECT_EQ(noFail.cells[3].band, Band::Warning);
    EXPECT_EQ(noFail.level, VerdictLevel::Warning);
}

TEST(ResistanceChange, ABaselineCellOfZeroOrMissingFallsBackToTheStringMedian) {
    ResistanceRecord baseline = record(0, 2.0);
    baseline.cells[7] = 0.0;
    baseline.cells[8] = std::nullopt;
    ResistanceRecord now = record(1, 2.2);
    now.cells[7] = 3.3;
    now.cells[8] = 2.2;
    const ChangeReport r = compareResistances(now.cells, baseline.cells);

    EXPECT_DOUBLE_EQ(*r.stringMedian, 2.2);
    EXPECT_EQ(r.cells[7].reference, ChangeReference::StringMedian);
    EXPECT_NEAR(*r.cells[7].percent, 50.0, 1e-9);
    EXPECT_EQ(r.cells[7].band, Band::OverLimit);
    EXPECT_EQ(r.cells[8].reference, ChangeReference::StringMedian);
    EXPECT_EQ(r.cells[8].percent, 0.0);
    EXPECT_EQ(r.cells[0].reference, ChangeReference::Baseline);
    EXPECT_NEAR(*r.cells[0].percent, 10.0, 1e-9);

    // A baseline of zeros throughout is no baseline: every cell against the median.
    const ChangeReport zeros = compareResistances(now.cells, record(0, 0.0).cells);
    for (const CellChange& c : zeros.cells) {
        EXPECT_EQ(c.reference, ChangeReference::StringMedian);
        ASSERT_TRUE(c.percent);
        EXPECT_TRUE(std::isfinite(*c.percent));
    }
}

TEST(ResistanceChange, WithoutABaselineEachCellAgainstTheStringMedian) {
    const Cells now = {4.0, 4.4, 4.0, 6.0, std::nullopt, 3.0};
    const ChangeReport r = compareResistances(now, {});
    EXPECT_DOUBLE_EQ(*r.stringMedian, 4.0);  // of the five measured cells
    ASSERT_EQ(r.cells.size(), 6u);
    EXPECT_EQ(r.cells[0].percent, 0.0);
    EXPECT_NEAR(*r.cells[1].percent, 10.0, 1e-9);
    EXPECT_EQ(r.cells[3].band, Band::OverLimit);
    EXPECT_FALSE(r.cells[4].percent);
    EXPECT_EQ(r.cells[4].band, Band::Unjudged);
    EXPECT_EQ(r.cells[4].reference, ChangeReference::None);
    EXPECT_NEAR(*r.cells[5].percent, -25.0, 1e-9);

    // A baseline shorter than the values covers only its own cells.
    const Cells shortBaseline = {2.0};
    const ChangeReport partial = compareResistances(now, shortBaseline);
    EXPECT_EQ(partial.cells[0].reference, ChangeReference::Baseline);
    EXPECT_EQ(partial.cells[1].reference, ChangeReference::StringMedian);
}

TEST(ResistanceChange, UnmeasuredValuesGetNoPercentageAndNothingIsNaN) {
    const double nan = std::numeric_limits<double>::quiet_NaN();
    const double inf = std::numeric_limits<double>::infinity();
    const Cells now = {0.0, -1.0, nan, inf, std::nullopt};
    const Cells base = {1.0, 1.0, 1.0, 1.0, 1.0};
    const ChangeReport r = compareResistances(now, base);
    for (const CellChange& c : r.cells) {
        EXPECT_FALSE(c.percent);
        EXPECT_EQ(c.band, Band::Unjudged);
    }
    EXPECT_FALSE(r.stringMedian);
    // Nothing compared is not "ok".
    EXPECT_EQ(r.level, VerdictLevel::Warning);
    EXPECT_EQ(compareResistances({}, {}).level, VerdictLevel::Warning);

    const Cells tiny = {1e-300, 1e9};
    const ChangeReport t = compareResistances(tiny, {});
    for (const CellChange& c : t.cells) {
        if (c.percent) {
            EXPECT_TRUE(std::isfinite(*c.percent));
        }
    }
}

TEST(ResistanceTrendSeries, EachCellOverTheRecordsInTimeOrder) {
    std::vector<ResistanceRecord> records = {record(300, 3.0), record(100, 1.0), record(200, 2.0),
                                             record(200, 2.5)};
    records[1].cells[5] = std::nullopt;
    records[2].cells[5] = 0.0;
    records[3].cells[39] = std::nan("");
    const auto series = resistanceTrend(records);

    ASSERT_EQ(series.size(), 40u);
    EXPECT_EQ(series[0], (std::vector<TrendPoint>{{100, 1.0}, {200, 2.0}, {200, 2.5}, {300, 3.0}}));
    EXPECT_EQ(series[5], (std::vector<TrendPoint>{{200, 2.5}, {300, 3.0}}));
    EXPECT_EQ(series[39], (std::vector<TrendPoint>{{100, 1.0}, {200, 2.0}, {300, 3.0}}));

    const auto none = resistanceTrend({});
    ASSERT_EQ(none.size(), 40u);
    EXPECT_TRUE(none[0].empty());
}

}  // namespace
