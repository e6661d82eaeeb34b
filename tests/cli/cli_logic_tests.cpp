// The command line's pure parts: what the options accept and refuse, and how a reading is
// judged against the device's limits (sides, margins, unwatched channels, unset limits).
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

Judgement judgeAll(const LiveReadings& live, const AlarmLimits& l = limits()) {
    return limitBands(l, AlarmMasks{all(), all(), all()})(live);
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

TEST(Verdict, ValuesBeyondOrNearALimitAreFoundOnTheirSide) {
    LiveReadings live = normalBank();
    EXPECT_EQ(judgeAll(live).verdict, Verdict::Ok);
    EXPECT_TRUE(judgeAll(live).findings.empty());

    live.voltages[2] = 13.7;      // within 0.35 V of the upper limit
    live.voltages[39] = 10.8;     // within 0.35 V of the lower limit
    live.temperatures[0] = 45.0;  // at the limit: near, not beyond
    const Judgement near = judgeAll(live);
    EXPECT_EQ(near.verdict, Verdict::Warning);
    ASSERT_EQ(near.findings.size(), 3u);
    EXPECT_EQ(findingText(near.findings[0]), "通道#3 电压 13.700V 接近上限 14.0V");
    EXPECT_EQ(findingText(near.findings[1]), "通道#40 电压 10.800V 接近下限 10.5V");
    EXPECT_EQ(findingText(near.findings[2]), "通道#1 温度 45.0℃ 接近上限 45℃");

    live.resistances[19] = 2.01;
    live.current = -100.5;  // discharging harder than the limit
    const Judgement beyond = judgeAll(live);
    EXPECT_EQ(beyond.verdict, Verdict::Fail);
    ASSERT_EQ(beyond.findings.size(), 5u);
    EXPECT_EQ(findingText(beyond.findings[0]), "通道#20 内阻 2.01mΩ 超过上限 2.0mΩ")
        << "fails come first";
    EXPECT_EQ(findingText(beyond.findings[1]), "电池组总电流 -100.5A 超过上限 100A");
    EXPECT_EQ(beyond.findings[2].verdict, Verdict::Warning);

    live = normalBank();
    live.voltages[0] = 0.0;  // below the lower limit
    live.temperatures[5] = -20.5;
    const Judgement low = judgeAll(live);
    ASSERT_EQ(low.findings.size(), 2u);
    EXPECT_EQ(findingText(low.findings[0]), "通道#1 电压 0.000V 低于下限 10.5V");
    EXPECT_EQ(findingText(low.findings[1]), "通道#6 温度 -20.5℃ 低于下限 -20℃");
}

TEST(Verdict, OnlyWatchedChannelsAndSetLimitsJudge) {
    LiveReadings live = normalBank();
    live.voltages.fill(0.0);  // a short string: only the first 24 channels are fitted
    for (size_t i = 0; i < 24; ++i) {
        live.voltages[i] = 12.0;
    }
    AlarmMasks masks{all(), all(), all()};
    for (size_t i = 24; i < kCellCount; ++i) {
        masks.voltage[i] = false;
    }
    EXPECT_EQ(limitBands(limits(), masks)(live).verdict, Verdict::Ok);

    live = normalBank();
    live.resistances.fill(50.0);
    live.current = 5000;
    AlarmLimits unset = limits();
    unset.resistanceUpper = 0;  // the device judges no resistance
    unset.currentUpper = 0;
    EXPECT_EQ(judgeAll(live, unset).verdict, Verdict::Ok);
    AlarmLimits inverted = limits();
    inverted.voltLower = 14.0;  // no band between them
    live = normalBank();
    live.voltages[0] = 30.0;
    EXPECT_EQ(judgeAll(live, inverted).verdict, Verdict::Ok);
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
