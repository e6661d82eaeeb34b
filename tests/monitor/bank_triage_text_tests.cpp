// What the bank page says about a judged reading: reasons, tips, the summary table and the
// verdict, from readings judged by the real analysis.
#include <gtest/gtest.h>

#include <vector>

#include "BankTriageText.h"

namespace {

using analysis::Band;
using analysis::Quantity;
using Cells = std::vector<std::optional<double>>;

struct Judged {
    Cells volts;
    Cells ohms;
    Cells temps;
    analysis::Limits limits;
    analysis::BankReport report;
};

Judged judge(Cells volts, Cells ohms, Cells temps, const analysis::Limits& limits,
             bool stale = false) {
    Judged j{std::move(volts), std::move(ohms), std::move(temps), limits, {}};
    j.report = analysis::assessBank({j.volts, j.ohms, j.temps, 10.0, stale}, j.limits);
    return j;
}

analysis::Limits deviceLimits() {
    analysis::Limits limits;
    limits.voltLower = 10.5;
    limits.voltUpper = 14.0;
    limits.resistanceUpper = 6.5;
    limits.tempLower = -20;
    limits.tempUpper = 45;
    return limits;
}

std::string tipOf(const Judged& j, Quantity q, int cell, std::string_view staleSince = "") {
    const auto& judgement = j.report.of(q).cells[static_cast<size_t>(cell - 1)];
    return triage::cellTip({q, cell, &judgement, &j.limits, nullptr, "", staleSince});
}

}  // namespace

TEST(BankTriageText, TheWorstCellSaysWhyLimitFirst) {
    const Judged j =
        judge({13.2, 13.2, 12.1, 13.2}, {4.0, 4.0, 9.0, 4.0}, {25, 25, 25, 25}, deviceLimits());
    ASSERT_FALSE(j.report.worst.empty());
    const std::string text = triage::worstCellText(j.report.worst.front(), j.limits);
    EXPECT_EQ(text.rfind("通道#3 内阻 9.00mΩ 超过上限 6.5mΩ；电压 12.100V 低于均值 ", 0), 0u)
        << text;
    EXPECT_EQ(triage::cellMark(j.report.of(Quantity::Resistance).cells[2]), triage::CellMark::Over);
    EXPECT_EQ(triage::cellMark(j.report.of(Quantity::Resistance).cells[0]),
              triage::CellMark::Normal);
    EXPECT_EQ(triage::verdictLine(j.report.verdict), "结论：不合格，1 项超出报警阀值");
}

TEST(BankTriageText, ReasonsNameTheNearerLimitOrTheMean) {
    const analysis::Limits limits = deviceLimits();
    EXPECT_EQ(triage::reasonText({Quantity::Voltage, Band::OverLimit, 10.2, {}, {}, false}, limits),
              "电压 10.200V 低于下限 10.5V");
    EXPECT_EQ(
        triage::reasonText({Quantity::Temperature, Band::Warning, 44.0, {}, {}, false}, limits),
        "温度 44.0℃ 接近上限 45℃");
    EXPECT_EQ(
        triage::reasonText({Quantity::Temperature, Band::Normal, 30.0, 5.0, 20.0, false}, limits),
        "温度 30.0℃ 高于均值 20.0%");
    // A mean of 0 gives no percentage: the difference in the unit stands instead.
    EXPECT_EQ(
        triage::reasonText({Quantity::Temperature, Band::Unjudged, -1.5, -1.5, {}, false}, {}),
        "温度 -1.5℃ 低于均值 1.5℃");
}

TEST(BankTriageText, AnEvenBankWithinLimitsIsClearAndWithoutLimitsUnjudged) {
    const Judged even = judge(Cells(40, 13.0), Cells(40, 4.0), Cells(40, 25.0), deviceLimits());
    EXPECT_TRUE(even.report.worst.empty());
    EXPECT_EQ(triage::verdictLine(even.report.verdict), "结论：全部正常");
    EXPECT_EQ(tipOf(even, Quantity::Voltage, 40),
              "通道#40 电压 13.000V\n在报警阀值以内\n与均值相差 +0.000V（+0.0%）");

    const Judged unjudged = judge(Cells(40, 13.0), Cells(40, 4.0), Cells(40, 25.0), {});
    EXPECT_EQ(triage::verdictLine(unjudged.report.verdict), "结论：未按阀值判断");
    EXPECT_EQ(triage::cellMark(unjudged.report.of(Quantity::Voltage).cells[0]),
              triage::CellMark::None);
    EXPECT_EQ(triage::limitsLine(std::nullopt), "未读取报警阀值，仅按均值比较");
    EXPECT_EQ(triage::limitsLine(analysis::Limits{}), "设备未设置报警阀值，仅按均值比较");
    EXPECT_EQ(triage::limitsLine(deviceLimits()), "已读取报警阀值，按阀值和均值比较");
    EXPECT_EQ(triage::limitsTip({}), "设备未设置任何报警阀值");
    EXPECT_EQ(triage::limitsTip(deviceLimits()),
              "电压 下限 10.5V 上限 14.0V\n内阻 上限 6.5mΩ\n温度 下限 -20℃ 上限 45℃");
}

TEST(BankTriageText, AMissingCellHasNoMarkAndIsCounted) {
    Cells volts(4, 13.0);
    volts[1] = std::nullopt;
    const Judged j = judge(volts, Cells(4, 4.0), Cells(4, 25.0), deviceLimits());
    EXPECT_EQ(triage::cellMark(j.report.of(Quantity::Voltage).cells[1]), triage::CellMark::None);
    EXPECT_EQ(tipOf(j, Quantity::Voltage, 2), "通道#2 电压 无数据");
    EXPECT_EQ(triage::verdictLine(j.report.verdict), "结论：注意，1 个值缺失");
    EXPECT_EQ(triage::summaryColumn(Quantity::Voltage, j.report.of(Quantity::Voltage).stats).min,
              "13.000 #1等3个");
}

TEST(BankTriageText, OldValuesSaySoAndKeepWhatTheyShowed) {
    const Judged j = judge({13.0, 13.0}, {4.0, 8.0}, {25, 25}, deviceLimits(), true);
    EXPECT_EQ(triage::cellMark(j.report.of(Quantity::Resistance).cells[1]),
              triage::CellMark::Stale);
    const std::string tip = tipOf(j, Quantity::Resistance, 2, "12:00:01");
    EXPECT_EQ(
        tip.rfind("数据未更新（上次成功读取 12:00:01）\n通道#2 内阻 8.00mΩ\n超过上限 6.5mΩ", 0), 0u)
        << tip;
    EXPECT_EQ(triage::verdictLine(j.report.verdict), "结论：数据未更新，显示的是上次成功读取的值");
}

TEST(BankTriageText, SummaryListsTiesAndSaysNothingWithoutValues) {
    const Judged j = judge({13.0, 12.5, 13.5, 12.5}, Cells(4), {25, 25, 25, 25}, {});
    const auto volts =
        triage::summaryColumn(Quantity::Voltage, j.report.of(Quantity::Voltage).stats);
    EXPECT_EQ(volts.min, "12.500 #2,#4");
    EXPECT_EQ(volts.max, "13.500 #3");
    EXPECT_EQ(volts.mean, "12.875");
    EXPECT_EQ(volts.median, "12.750");
    EXPECT_EQ(volts.spread, "1.000");
    const auto ohms =
        triage::summaryColumn(Quantity::Resistance, j.report.of(Quantity::Resistance).stats);
    EXPECT_EQ(ohms.min, "—");
    EXPECT_EQ(ohms.spread, "—");
}

TEST(BankTriageText, ResistanceTipsCompareWithTheBaseline) {
    const Cells now{6.0, 4.8, 4.0};
    const Cells base{4.0, 4.0, 0.0};  // cell 3 was not measured then
    const analysis::ChangeReport change = analysis::compareResistances(now, base);
    const Judged j = judge(Cells(3, 13.0), now, Cells(3, 25.0), {});
    const auto tip = [&](int cell) {
        const auto& judgement =
            j.report.of(Quantity::Resistance).cells[static_cast<size_t>(cell - 1)];
        return triage::cellTip({Quantity::Resistance, cell, &judgement, &j.limits,
                                &change.cells[static_cast<size_t>(cell - 1)], "2024/12/27/10/29/53",
                                ""});
    };
    EXPECT_NE(tip(1).find("较基准 +50.0%，已超过更换线（基准 2024/12/27/10/29/53）"),
              std::string::npos)
        << tip(1);
    EXPECT_NE(tip(2).find("较基准 +20.0%，已超过注意线"), std::string::npos) << tip(2);
    EXPECT_NE(tip(3).find("较中位数 -16.7%（基准此通道无值）"), std::string::npos) << tip(3);
    EXPECT_EQ(triage::baselineLine("2024/12/27/10/29/53"), "内阻基准：2024/12/27/10/29/53");
    EXPECT_EQ(triage::baselineLine(""), "内阻基准：未选定");
}
