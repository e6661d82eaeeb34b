// The reading judged once, and the bank summary and the limits tables.
#include <algorithm>
#include <cmath>

#include "ReportTables.h"
#include "ReportText.h"

namespace report::detail {

namespace {

using analysis::Quantity;

constexpr Quantity kQuantities[] = {Quantity::Voltage, Quantity::Resistance, Quantity::Temperature};

std::string cellList(const std::vector<int>& cells) {
    std::string text;
    for (size_t i = 0; i < cells.size() && i < 3; ++i) {
        text += (i == 0 ? "#" : ",#") + std::to_string(cells[i]);
    }
    if (cells.size() > 3) {
        text += " 等" + std::to_string(cells.size()) + "节";
    }
    return text;
}

std::string extreme(const analysis::Extreme& e, Quantity q) {
    return text::number(e.value, text::decimals(q)) + "（" + cellList(e.cells) + "）";
}

// The warning margin as the analysis applies it beside `limit`.
double margin(const std::optional<double>& lower, const std::optional<double>& upper, double limit,
              const analysis::JudgeSettings& settings) {
    const double f = std::isfinite(settings.warningFraction) && settings.warningFraction > 0
                         ? std::min(settings.warningFraction, 1.0)
                         : 0.0;
    const bool twoSided = lower && upper && *upper > *lower;
    return f * (twoSided ? *upper - *lower : std::fabs(limit));
}

struct LimitRow {
    const char* name;
    std::string deviceValue;
    std::optional<double> applied;
    std::optional<double> lower;  // the pair the margin is taken over
    std::optional<double> upper;
    bool isUpper;
    int decimals;
    const char* unit;
    const char* subject;  // "" or "|I| " for the current's magnitude
};

std::vector<std::string> limitRow(const LimitRow& r, const analysis::JudgeSettings& settings) {
    if (!r.applied) {
        return {r.name, r.deviceValue + "（未设置）", text::kNone, text::kNone};
    }
    const double limit = *r.applied;
    const double m = margin(r.lower, r.upper, limit, settings);
    const std::string at = text::number(limit, r.decimals) + " " + r.unit;
    const std::string near =
        text::number(r.isUpper ? limit - m : limit + m, r.decimals) + " " + r.unit;
    const std::string subject = r.subject;
    if (r.isUpper) {
        return {r.name, at, subject + near + " ～ " + at, subject + "> " + at};
    }
    return {r.name, at, at + " ～ " + near, "< " + at};
}

std::string percentThreshold(double percent) {
    return std::isfinite(percent) ? "增加 ≥ " + text::number(percent, 0) + "%" : "不判定";
}

}  // namespace

Judged judge(const ReportInput& input) {
    Judged judged;
    if (input.limits.value) {
        judged.limits = analysis::limitsFromDevice(*input.limits.value);
    }
    if (!input.live.value) {
        return judged;
    }
    const AlarmMasks* masks = input.masks.value ? &*input.masks.value : nullptr;
    judged.values = analysis::bankValues(*input.live.value, masks);
    judged.bank = analysis::assessBank(analysis::bankInput(*judged.values),
                                       judged.limits.value_or(analysis::Limits{}), input.judge);
    judged.unmeasured = analysis::unmeasuredCells(*judged.values, masks);
    judged.masks = input.masks.value;
    std::span<const std::optional<double>> baseline;
    if (input.baseline) {
        baseline = input.baseline->cells;
    }
    judged.change = analysis::compareResistances(judged.values->resistances, baseline, input.trend);
    judged.changeMeasured = std::any_of(judged.change->cells.begin(), judged.change->cells.end(),
                                        [](const auto& c) { return c.percent.has_value(); });
    return judged;
}

ReportTable summaryTable(const ReportInput& input, const Judged& judged) {
    ReportTable t;
    t.title = "电池组汇总";
    t.columns = {"项目", "数量", "最小", "最大", "平均", "中位数", "极差"};
    if (!judged.bank) {
        t.notes.push_back(missingLine("实时数据", input.live.failure));
        return t;
    }
    for (const Quantity q : kQuantities) {
        const auto& stats = judged.bank->of(q).stats;
        const std::string name = text::quantityWord(q) + "(" + text::unit(q) + ")";
        if (!stats) {
            t.rows.push_back(
                {name, "0", text::kNone, text::kNone, text::kNone, text::kNone, text::kNone});
            continue;
        }
        const int d = text::decimals(q);
        t.rows.push_back({name, std::to_string(stats->count), extreme(stats->min, q),
                          extreme(stats->max, q), text::number(stats->mean, d),
                          text::number(stats->median, d), text::number(stats->spread, d)});
    }
    t.notes.push_back("电流：" + text::number(judged.values->current, 1) + " A，" +
                      text::bandWord(judged.bank->currentBand));
    return t;
}

ReportTable limitsTable(const ReportInput& input, const Judged& judged) {
    ReportTable t;
    t.title = "报警阀值与判定区间";
    t.columns = {"项目", "设备阀值", "注意区间", "超限"};
    if (!judged.limits) {
        t.notes.push_back(missingLine("报警阀值", input.limits.failure));
    } else {
        const AlarmLimits& d = *input.limits.value;
        const analysis::Limits& l = *judged.limits;
        const LimitRow rows[] = {
            {"电压上限", text::number(d.voltUpper, 3), l.voltUpper, l.voltLower, l.voltUpper, true,
             3, "V", ""},
            {"电压下限", text::number(d.voltLower, 3), l.voltLower, l.voltLower, l.voltUpper, false,
             3, "V", ""},
            {"内阻上限", text::number(d.resistanceUpper, 2), l.resistanceUpper, std::nullopt,
             l.resistanceUpper, true, 2, "mΩ", ""},
            {"温度上限", std::to_string(d.tempUpper), l.tempUpper, l.tempLower, l.tempUpper, true,
             1, "℃", ""},
            {"温度下限", std::to_string(d.tempLower), l.tempLower, l.tempLower, l.tempUpper, false,
             1, "℃", ""},
            {"电流上限", std::to_string(d.currentUpper), l.currentUpper, std::nullopt,
             l.currentUpper, true, 1, "A", "|I| "},
        };
        for (const LimitRow& row : rows) {
            t.rows.push_back(limitRow(row, input.judge));
        }
        t.notes.push_back("注意区间：距阀值 " +
                          text::number(std::clamp(input.judge.warningFraction, 0.0, 1.0) * 100, 0) +
                          "% 以内（上下限都设置时按两者之差计），恰在阀值上也算注意");
    }
    const std::string reference = input.baseline ? "对内阻基准" : "对本组内阻中位数";
    t.rows.push_back({"内阻变化", reference, percentThreshold(input.trend.warnPercent),
                      percentThreshold(input.trend.failPercent)});
    return t;
}

}  // namespace report::detail
