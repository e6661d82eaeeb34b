// The command line's pure parts: what the options accept and refuse, and how a reading is
// judged by the bank analysis against the device's limits (sides, reasons, unwatched
// channels, unset limits).
#include <gtest/gtest.h>

#include "CliOptions.h"
#include "Verdict.h"

namespace {

CliParse parse(std::vector<std::string> args) {
    return parseCliOptions(args);
}

ChannelSet all() {
    ChannelSet set;
    set.fill(true);
    return set;
}

// Limits 14.0 / 10.5 V (margin 0.35 V), 2.0 mOhm (0.2), 45 / -20 degC (6.5), 100 A (10).
AlarmLimits limits() {
    return {45, -20, 14.0, 10.5, 2.0, 100};
}

LiveReadings normalBank() {
    LiveReadings live;
    live.voltages.fill(12.0);
    live.resistances.fill(1.0);
    live.temperatures.fill(25.0);
    live.current = -20.0;
    return live;
}

AlarmMasks watchAll() {
    return {all(), all(), all()};
}

Judgement judgeAll(const LiveReadings& live, const AlarmLimits& l = limits()) {
    return judgeReading(live, l, watchAll());
}

// The reasons of `cell` among the worst cells, as texts.
std::vector<std::string> reasonsOf(const Judgement& j, int cell) {
    std::vector<std::string> texts;
    for (const analysis::WorstCell& w : j.report.worst) {
        for (const analysis::Reason& r : w.reasons) {
            if (w.cell == cell) {
                texts.push_back(reasonText(cell, r, j.limits));
            }
        }
    }
    return texts;
}

}  // namespace

TEST(CliOptions, TheLinkAndFormatAreTakenAndChecked) {
    const CliParse p = parse({"read", "--com", "3=/dev/ttyUSB0", "--com=2=/dev/ttyS1", "--baud",
                              "19200", "--address=247", "--format", "prometheus"});
    ASSERT_EQ(p.error, "");
    EXPECT_EQ(p.options.port, 2) << "the lowest COMn given";
    EXPECT_EQ(p.options.ports.at(3), "/dev/ttyUSB0");
    EXPECT_EQ(p.options.baudRate, 19200);
    EXPECT_EQ(p.options.address, 247);
    EXPECT_EQ(p.options.format, OutputFormat::Prometheus);

    const CliParse defaults = parse({"info"});
    EXPECT_EQ(defaults.error, "");
    EXPECT_EQ(defaults.options.port, 1);
    EXPECT_EQ(defaults.options.baudRate, 9600);
    EXPECT_EQ(defaults.options.address, 1);
    EXPECT_EQ(defaults.options.format, OutputFormat::Text);
}

TEST(CliOptions, WhatTheDeviceCannotHaveIsRefusedWithTheReason) {
    const std::vector<std::vector<std::string>> bad = {
        {"read", "--baud", "38400"},
        {"read", "--baud", "9600x"},
        {"read", "--address", "0"},
        {"read", "--address", "248"},
        {"read", "--address", "-1"},
        {"read", "--address"},
        {"read", "--format", "xml"},
        {"read", "--com", "13=/dev/x"},
        {"read", "--com", "1="},
        {"read", "--bogus"},
        {"read", "extra"},
        {"read", ""},
        {"records"},
        {"records", "--kind", "curve"},
        {"records", "--kind", "alarm", "--format", "prometheus"},
        {"records", "--kind", "voltage", "--group", "9"},
        {"info", "--kind", "alarm"},
        {"scan", "--format", "prometheus"},
        {"scan", "--kind", "alarm"},
    };
    for (const auto& args : bad) {
        std::string line;
        for (const auto& a : args) {
            line += a + " ";
        }
        EXPECT_NE(parse(args).error, "") << line;
    }
    EXPECT_EQ(parse({"records", "--help"}).error, "") << "help needs no --kind";
    const CliParse records = parse({"records", "--kind", "voltage", "--group", "8"});
    EXPECT_EQ(records.error, "");
    EXPECT_EQ(records.options.kind, RecordKind::Voltage);
    EXPECT_EQ(records.options.group, 8);
}

// Warning bands are 5 % of the band: 0.175 V, 0.1 mOhm, 3.25 degC, 5 A.
TEST(Verdict, TheWorstCellsSayWhyOnTheSideOfTheirLimit) {
    LiveReadings live = normalBank();
    EXPECT_EQ(judgeAll(live).verdict, Verdict::Ok);
    EXPECT_TRUE(judgeAll(live).report.worst.empty());

    live.voltages[2] = 13.9;
    live.voltages[39] = 10.6;
    live.temperatures[0] = 45.0;  // at the limit: near, not beyond
    const Judgement near = judgeAll(live);
    EXPECT_EQ(near.verdict, Verdict::Warning);
    ASSERT_FALSE(near.report.worst.empty());
    EXPECT_EQ(near.report.worst[0].cell, 1) << "the largest deviation of the warnings";
    EXPECT_EQ(reasonsOf(near, 1).at(0), "通道#1 温度 45.0℃ 接近上限 45℃");
    EXPECT_EQ(reasonsOf(near, 3).at(0), "通道#3 电压 13.900V 接近上限 14.0V");
    EXPECT_EQ(reasonsOf(near, 40).at(0), "通道#40 电压 10.600V 接近下限 10.5V");

    live.resistances[19] = 2.01;
    live.current = -100.5;  // discharging harder than the limit
    const Judgement beyond = judgeAll(live);
    EXPECT_EQ(beyond.verdict, Verdict::Fail);
    EXPECT_EQ(beyond.report.worst[0].cell, 20) << "over a limit comes first";
    EXPECT_EQ(reasonsOf(beyond, 20).at(0), "通道#20 内阻 2.01mΩ 超过上限 2.0mΩ");
    EXPECT_EQ(currentText(beyond, live.current), "电池组总电流 -100.5A 超过上限 100A");

    live = normalBank();
    live.voltages[0] = 0.0;
    live.resistances[6] = 1.08;  // within its limit, off the others
    const Judgement low = judgeAll(live);
    EXPECT_EQ(low.verdict, Verdict::Fail);
    EXPECT_EQ(reasonsOf(low, 1).at(0), "通道#1 电压 0.000V 低于下限 10.5V");
    EXPECT_EQ(reasonsOf(low, 7).at(0), "通道#7 内阻 1.08mΩ 高于平均值 7.8%");
    EXPECT_EQ(currentText(low, live.current), "");

    live = normalBank();
    live.voltages[9] = 12.001;  // a millivolt off: under a tenth of a percent
    EXPECT_EQ(reasonsOf(judgeAll(live), 10).at(0), "通道#10 电压 12.001V 高于平均值 0.01%");
}

TEST(Verdict, OnlyWatchedChannelsCountAndUnsetLimitsJudgeNothing) {
    LiveReadings live = normalBank();
    AlarmMasks masks = watchAll();
    for (size_t i = 24; i < kCellCount; ++i) {  // a short string: 24 cells fitted
        live.voltages[i] = 0.0;
        live.resistances[i] = 0.0;
        masks.voltage[i] = masks.resistance[i] = masks.temperature[i] = false;
    }
    const Judgement shortString = judgeReading(live, limits(), masks);
    EXPECT_EQ(shortString.verdict, Verdict::Ok) << "empty places are no warning";
    EXPECT_EQ(shortString.unmeasured, 0);

    live.resistances[3] = 0.0;  // a watched cell whose resistance was not measured
    const Judgement unmeasured = judgeReading(live, limits(), masks);
    EXPECT_EQ(unmeasured.verdict, Verdict::Warning);
    EXPECT_EQ(unmeasured.unmeasured, 1);

    live = normalBank();
    live.resistances.fill(50.0);
    live.current = 5000;
    AlarmLimits unset = limits();
    unset.resistanceUpper = 0;  // the device judges no resistance
    unset.currentUpper = 0;
    EXPECT_EQ(judgeAll(live, unset).verdict, Verdict::Ok);
    EXPECT_EQ(judgeAll(normalBank(), AlarmLimits{}).verdict, Verdict::Warning)
        << "no limit at all: nothing could be judged";

    AlarmLimits crossed = limits();
    crossed.voltLower = 14.0;  // applied side by side, as the device does
    live = normalBank();
    live.voltages[0] = 30.0;
    EXPECT_EQ(judgeAll(live, crossed).verdict, Verdict::Fail);
}

TEST(Verdict, ExitCodesRankAsAMonitoringSystemReadsThem) {
    EXPECT_EQ(static_cast<int>(Verdict::Ok), 0);
    EXPECT_EQ(static_cast<int>(Verdict::Warning), 1);
    EXPECT_EQ(static_cast<int>(Verdict::Fail), 2);
    EXPECT_EQ(static_cast<int>(Verdict::NoAnswer), 3);
    EXPECT_EQ(worse(Verdict::Warning, Verdict::Fail), Verdict::Fail);
    EXPECT_EQ(worse(Verdict::Fail, Verdict::Ok), Verdict::Fail);
    EXPECT_STREQ(verdictName(Verdict::NoAnswer), "no-answer");
    EXPECT_STREQ(verdictText(Verdict::Warning), "警告");
}
