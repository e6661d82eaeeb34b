// The device's values as the analysis sees them: unwatched channels and unmeasured
// resistances have no value, unset limits are not applied, and a weak cell read from the
// device is judged as one.
#include <gtest/gtest.h>

#include "DeviceJudging.h"

namespace {

using namespace analysis;

LiveReadings healthyBank() {
    LiveReadings live;
    live.voltages.fill(13.2);
    live.resistances.fill(4.0);
    live.temperatures.fill(25.0);
    live.current = -12.5;
    return live;
}

TEST(DeviceJudging, MasksAndUnmeasuredResistancesLeaveCellsWithoutValue) {
    LiveReadings live = healthyBank();
    live.resistances[7] = 0;
    AlarmMasks masks;
    masks.voltage.fill(true);
    masks.resistance.fill(true);
    masks.temperature.fill(true);
    masks.voltage[39] = false;

    const BankValues v = bankValues(live, &masks);
    EXPECT_FALSE(v.voltages[39].has_value());
    EXPECT_DOUBLE_EQ(*v.voltages[38], 13.2);
    EXPECT_FALSE(v.resistances[7].has_value());
    EXPECT_FALSE(v.temperatures[0] == std::nullopt);
    EXPECT_DOUBLE_EQ(*v.current, -12.5);

    const BankValues all = bankValues(live);  // masks not known: every channel counts
    EXPECT_TRUE(all.voltages[39].has_value());
    EXPECT_FALSE(all.resistances[7].has_value());
}

TEST(DeviceJudging, UnsetLimitsAreNotAppliedButAZeroDegreeLowerLimitIs) {
    AlarmLimits unset;
    const Limits none = limitsFromDevice(unset);
    EXPECT_FALSE(none.voltUpper || none.voltLower || none.resistanceUpper || none.currentUpper ||
                 none.tempUpper || none.tempLower);

    AlarmLimits set{45, 0, 14.4, 10.8, 6.5, 100};
    const Limits l = limitsFromDevice(set);
    EXPECT_EQ(l.tempLower, 0.0);
    EXPECT_EQ(l.tempUpper, 45.0);
    EXPECT_EQ(l.voltUpper, 14.4);
    EXPECT_EQ(l.resistanceUpper, 6.5);
    EXPECT_EQ(l.currentUpper, 100.0);
}

TEST(DeviceJudging, AWeakCellFromTheDeviceFailsTheBankAndLeadsTheWorst) {
    LiveReadings live = healthyBank();
    live.resistances[16] = 9.0;
    live.voltages[16] = 12.1;
    const BankValues v = bankValues(live);
    const BankReport report =
        assessBank(bankInput(v), limitsFromDevice(AlarmLimits{45, 0, 14.4, 10.8, 6.5, 100}));
    EXPECT_EQ(report.verdict.level, VerdictLevel::Fail);
    ASSERT_FALSE(report.worst.empty());
    EXPECT_EQ(report.worst.front().cell, 17);
    EXPECT_EQ(report.of(Quantity::Resistance).cells[16].band, Band::OverLimit);
}

}  // namespace

namespace {

using namespace analysis;

TEST(DeviceJudging, AShortStringIsNoWarningForItsEmptyPlacesButAnUnmeasuredWatchedCellIs) {
    LiveReadings live;
    live.voltages.fill(0);
    live.resistances.fill(0);
    live.temperatures.fill(0);
    AlarmMasks masks;  // a 24-cell string
    for (int k = 0; k < 24; ++k) {
        live.voltages[k] = 13.2;
        live.resistances[k] = 4.0;
        live.temperatures[k] = 25.0;
        masks.voltage[k] = masks.resistance[k] = masks.temperature[k] = true;
    }
    const Limits limits = limitsFromDevice(AlarmLimits{45, 0, 14.4, 10.8, 6.5, 100});
    BankValues values = bankValues(live, &masks);
    BankReport report = assessBank(bankInput(values), limits);
    EXPECT_EQ(unmeasuredCells(values, &masks), 0);
    EXPECT_EQ(report.verdict.level, VerdictLevel::Warning);  // the bank alone counts 48 missing
    EXPECT_EQ(deviceVerdict(report, 0), VerdictLevel::Ok);
    // Without the masks the empty places are cells: 0 V is under the lower limit.
    EXPECT_EQ(unmeasuredCells(bankValues(live), nullptr), 16);

    live.resistances[3] = 0;  // a watched cell not measured
    values = bankValues(live, &masks);
    report = assessBank(bankInput(values), limits);
    EXPECT_EQ(unmeasuredCells(values, &masks), 1);
    EXPECT_EQ(deviceVerdict(report, 1), VerdictLevel::Warning);

    report = assessBank(bankInput(values, true), limits);  // an old reading
    EXPECT_EQ(deviceVerdict(report, 0), VerdictLevel::Warning);
    report = assessBank(bankInput(values), Limits{});  // nothing to judge against
    EXPECT_EQ(deviceVerdict(report, 0), VerdictLevel::Warning);
}

}  // namespace
