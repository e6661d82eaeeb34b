// The resistance dialog's judging alone: records as tests (cells not measured, stamps that
// name no moment), the change texts and marks, the worst cell, the thresholds as typed and
// the trend curves.
#include <gtest/gtest.h>

#include <cmath>

#include "ResistanceChange.h"

namespace {

// 2023/11/1/2/4/57 plus `day` days: a valid stamp.
StoredRecord recordOn(int day, uint16_t raw, int number = 1) {
    StoredRecord r;
    r.number = number;
    r.stamp = {0x2023, static_cast<uint16_t>(0x1100 + (day / 10) * 16 + day % 10), 0x0204, 0x5700};
    r.channels.fill(raw);
    return r;
}

}  // namespace

TEST(ResistanceChange, RecordsBecomeTestsInMilliohmWithUnmeasuredCellsLeftOut) {
    StoredRecord r = recordOn(1, 352);
    r.channels[4] = 0;
    r.channels[39] = 65535;
    const analysis::ResistanceRecord test = resistanceRecordOf(r);
    EXPECT_NEAR(*test.cells[0], 3.52, 1e-9);
    EXPECT_FALSE(test.cells[4].has_value()) << "0 is a cell the test did not measure";
    EXPECT_NEAR(*test.cells[39], 655.35, 1e-9);
    EXPECT_EQ(test.time, *stampTime(r.stamp));

    StoredRecord bad = r;
    bad.stamp = {0x2023, 0x1332, 0x0000, 0x0000};  // 32 December
    EXPECT_EQ(resistanceRecordOf(bad).time, 0);
    int untimed = -1;
    const auto tests = timedRecords(std::vector<StoredRecord>{r, bad, r}, untimed);
    EXPECT_EQ(tests.size(), 2u);
    EXPECT_EQ(untimed, 1);
}

TEST(ResistanceChange, ChangesAgainstTheBaselineMarkCellsItDidNotMeasure) {
    StoredRecord base = recordOn(1, 400);
    base.channels[2] = 0;  // a baseline cell of 0: compared with the median instead
    const ResistanceBaseline baseline = baselineOf(base);
    EXPECT_EQ(baseline.label, "2023/11/1/2/4/57");
    EXPECT_TRUE(isBaselineRecord(base, baseline));
    EXPECT_FALSE(isBaselineRecord(recordOn(1, 401), baseline)) << "same time, other values";
    EXPECT_FALSE(isBaselineRecord(base, std::nullopt));

    StoredRecord later = recordOn(5, 400);
    later.channels[0] = 480;  // +20 %: exactly the warning
    later.channels[1] = 600;  // +50 %: exactly the failure
    later.channels[3] = 0;    // not measured now
    later.channels[5] = 380;  // -5 %
    const analysis::ChangeReport change = changeOf(later, baseline, {});
    EXPECT_EQ(changeText(change.cells[0], true), "+20.0%");
    EXPECT_EQ(change.cells[0].band, analysis::Band::Warning);
    EXPECT_EQ(changeText(change.cells[1], true), "+50.0%");
    EXPECT_EQ(change.cells[1].band, analysis::Band::OverLimit);
    EXPECT_EQ(changeText(change.cells[2], true), "+0.0%*") << "against the median 4.00";
    EXPECT_EQ(changeText(change.cells[3], true), "--");
    EXPECT_EQ(changeText(change.cells[5], true), "-5.0%");
    EXPECT_EQ(changeText(change.cells[6], true), "+0.0%");

    const auto worst = worstChange(change);
    ASSERT_TRUE(worst.has_value());
    EXPECT_EQ(worst->cell, 2);
    EXPECT_EQ(worstChangeText(worst), "+50.0%(通道2)");
    EXPECT_EQ(worstChangeText(std::nullopt), "");
    EXPECT_EQ(referenceText(4.0), "4.00mΩ");
    EXPECT_EQ(referenceText(std::nullopt), "--");
    EXPECT_EQ(referenceText(NAN), "--");
}

TEST(ResistanceChange, WithoutABaselineEachCellMeetsTheRecordsMedianUnmarked) {
    StoredRecord r = recordOn(1, 400);
    r.channels[7] = 500;
    const analysis::ChangeReport change = changeOf(r, std::nullopt, {});
    EXPECT_EQ(changeText(change.cells[7], false), "+25.0%");
    EXPECT_EQ(change.cells[7].band, analysis::Band::Warning);
    EXPECT_EQ(referenceNote(std::nullopt), "未设基准，与本组中位数比较");
    EXPECT_EQ(referenceNote(baselineOf(r)), "基准：2023/11/1/2/4/57");

    StoredRecord none = recordOn(1, 0);  // nothing measured: no change anywhere, no NaN
    const analysis::ChangeReport empty = changeOf(none, baselineOf(r), {});
    for (const analysis::CellChange& c : empty.cells) {
        EXPECT_EQ(changeText(c, true), "--");
    }
    EXPECT_FALSE(worstChange(empty).has_value());
}

TEST(ResistanceChange, ThresholdsAreTakenOnlyAsTwoRisingPositiveNumbers) {
    const ThresholdCheck good = checkThresholds("25", " 60.5 ");
    ASSERT_TRUE(good.settings.has_value()) << good.error;
    EXPECT_DOUBLE_EQ(good.settings->warnPercent, 25);
    EXPECT_DOUBLE_EQ(good.settings->failPercent, 60.5);
    EXPECT_EQ(thresholdText(60.5), "60.5");
    EXPECT_EQ(thresholdText(20), "20");

    const char* warnRefused = "警告%须是大于0、不超过1000的数字，阈值未改变";
    const char* failRefused = "故障%须是大于0、不超过1000的数字，阈值未改变";
    for (const char* bad : {"", "abc", "0", "-5", "20%", "1e2", "nan", "inf", "1001", "2.5.1"}) {
        const ThresholdCheck check = checkThresholds(bad, "50");
        EXPECT_FALSE(check.settings.has_value()) << bad;
        EXPECT_EQ(check.error, warnRefused) << bad;
        EXPECT_EQ(checkThresholds("20", bad).error, failRefused) << bad;
    }
    EXPECT_EQ(checkThresholds("50", "50").error, "故障%须大于警告%，阈值未改变");
    EXPECT_EQ(checkThresholds("60", "50").error, "故障%须大于警告%，阈值未改变");
}

TEST(ResistanceChange, TrendCurvesLeaveOutUnmeasuredCellsAndFollowTime) {
    StoredRecord first = recordOn(1, 400);
    StoredRecord second = recordOn(3, 420);
    second.channels[9] = 0;
    StoredRecord third = recordOn(2, 410);  // read last, tested in between
    int untimed = 0;
    const auto tests = timedRecords(std::vector<StoredRecord>{first, second, third}, untimed);
    const auto series = trendSeries(tests);
    ASSERT_EQ(series.size(), 40u);
    EXPECT_EQ(series[0]->m_values.size(), 3u);
    EXPECT_FLOAT_EQ(series[0]->m_values[1], 4.10f) << "in time order";
    EXPECT_LT(series[0]->m_times[0], series[0]->m_times[1]);
    EXPECT_EQ(series[9]->m_values.size(), 2u) << "a cell not measured adds no point";
    for (const auto& s : series) {
        EXPECT_EQ(s->m_times.size(), s->m_values.size());
        for (float v : s->m_values) {
            EXPECT_TRUE(std::isfinite(v));
        }
    }
    EXPECT_TRUE(trendSeries({}).empty());
    EXPECT_EQ(resistanceAxis().unit, "mΩ");
}
