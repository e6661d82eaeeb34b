// The bank page's texts about a judged reading. Values carry the lists' formats; limits the
// precision the device keeps them in (0.1 V, 0.1 mOhm, whole degrees).
#include "BankTriageText.h"

#include <cmath>
#include <cstdio>

namespace triage {

using analysis::Band;
using analysis::Quantity;

namespace {

struct QuantityWords {
    const char* name;
    const char* valueFormat;
    const char* limitFormat;
    const char* deltaFormat;  // a signed difference in the unit
    const char* bareFormat;   // the value alone, where a heading gives the unit
};

constexpr QuantityWords kWords[analysis::kQuantityCount] = {
    {"电压", "%.3fV", "%.1fV", "%+.3fV", "%.3f"},
    {"内阻", "%.2fmΩ", "%.1fmΩ", "%+.2fmΩ", "%.2f"},
    {"温度", "%.1f℃", "%.0f℃", "%+.1f℃", "%.1f"},
};

const QuantityWords& words(Quantity q) {
    return kWords[static_cast<int>(q)];
}

std::string format(const char* pattern, double value) {
    char text[64];
    std::snprintf(text, sizeof text, pattern, value);
    return text;
}

std::string limitText(Quantity q, double value) {
    return format(words(q).limitFormat, value);
}

std::string percentText(double percent) {
    return format("%.1f%%", std::fabs(percent));
}

struct QuantityLimits {
    std::optional<double> lower;
    std::optional<double> upper;
};

QuantityLimits limitsOf(Quantity q, const analysis::Limits& limits) {
    switch (q) {
        case Quantity::Voltage:
            return {limits.voltLower, limits.voltUpper};
        case Quantity::Resistance:
            return {std::nullopt, limits.resistanceUpper};
        case Quantity::Temperature:
            return {limits.tempLower, limits.tempUpper};
    }
    return {};
}

// The limit a banded value stands at: the nearer of the two (the upper one on a tie).
std::string bandText(Quantity q, Band band, double value, const analysis::Limits& limits) {
    const QuantityLimits known = limitsOf(q, limits);
    const double toUpper = known.upper ? std::fabs(value - *known.upper) : INFINITY;
    const double toLower = known.lower ? std::fabs(value - *known.lower) : INFINITY;
    const bool upper = known.upper && toUpper <= toLower;
    if (!upper && !known.lower) {
        return {};
    }
    const std::string limit = limitText(q, upper ? *known.upper : *known.lower);
    if (band == Band::OverLimit) {
        return (upper ? "超过上限 " : "低于下限 ") + limit;
    }
    return (upper ? "接近上限 " : "接近下限 ") + limit;
}

std::string deviationText(Quantity q, std::optional<double> deviation,
                          std::optional<double> percent) {
    if (!deviation) {
        return {};
    }
    const char* side = *deviation >= 0 ? "高于均值 " : "低于均值 ";
    if (percent) {
        return side + percentText(*percent);
    }
    return side + format(words(q).valueFormat, std::fabs(*deviation));
}

// Without the unit: the summary table's heading carries it, so the cell numbers fit.
std::string bareText(Quantity q, double value) {
    return format(words(q).bareFormat, value);
}

std::string extremeText(Quantity q, const analysis::Extreme& extreme) {
    std::string text = bareText(q, extreme.value);
    if (extreme.cells.empty()) {
        return text;
    }
    text += " #" + std::to_string(extreme.cells.front());
    if (extreme.cells.size() == 2) {
        text += ",#" + std::to_string(extreme.cells.back());
    } else if (extreme.cells.size() > 2) {
        text += "等" + std::to_string(extreme.cells.size()) + "个";
    }
    return text;
}

std::string changeText(const analysis::CellChange& change, std::string_view baselineLabel) {
    if (!change.percent) {
        return "无法与基准比较";
    }
    std::string text =
        change.reference == analysis::ChangeReference::Baseline
            ? "较基准 " + format("%+.1f%%", *change.percent)
            : "较中位数 " + format("%+.1f%%", *change.percent) + "（基准此通道无值）";
    if (change.band == Band::OverLimit) {
        text += "，已超过更换线";
    } else if (change.band == Band::Warning) {
        text += "，已超过注意线";
    }
    if (change.reference == analysis::ChangeReference::Baseline && !baselineLabel.empty()) {
        text += "（基准 " + std::string(baselineLabel) + "）";
    }
    return text;
}

}  // namespace

CellMark cellMark(const analysis::CellJudgement& cell) {
    if (!cell.value || cell.freshness == analysis::Freshness::Missing) {
        return CellMark::None;
    }
    if (cell.freshness == analysis::Freshness::Stale) {
        return CellMark::Stale;
    }
    switch (cell.band) {
        case Band::Normal:
            return CellMark::Normal;
        case Band::Warning:
            return CellMark::Warning;
        case Band::OverLimit:
            return CellMark::Over;
        case Band::Unjudged:
            break;
    }
    return CellMark::None;
}

std::string valueText(Quantity quantity, double value) {
    return format(words(quantity).valueFormat, value);
}

SummaryColumn summaryColumn(Quantity quantity,
                            const std::optional<analysis::QuantityStats>& stats) {
    if (!stats) {
        return {"—", "—", "—", "—", "—"};
    }
    return {extremeText(quantity, stats->min), extremeText(quantity, stats->max),
            bareText(quantity, stats->mean), bareText(quantity, stats->median),
            bareText(quantity, stats->spread)};
}

std::string reasonText(const analysis::Reason& reason, const analysis::Limits& limits) {
    std::string text = std::string(words(reason.quantity).name) + " " +
                       valueText(reason.quantity, reason.value) + " ";
    if (reason.band == Band::OverLimit || reason.band == Band::Warning) {
        const std::string band = bandText(reason.quantity, reason.band, reason.value, limits);
        if (!band.empty()) {
            return text + band;
        }
    }
    const std::string off =
        deviationText(reason.quantity, reason.deviation, reason.deviationPercent);
    return text + (off.empty() ? "偏离均值" : off);
}

std::string worstCellText(const analysis::WorstCell& worst, const analysis::Limits& limits) {
    std::string text = "通道#" + std::to_string(worst.cell);
    for (size_t i = 0; i < worst.reasons.size(); ++i) {
        text += (i == 0 ? " " : "；") + reasonText(worst.reasons[i], limits);
    }
    return text;
}

std::string cellTip(const TipInput& input) {
    std::string tip;
    if (!input.staleSince.empty()) {
        tip = staleText(input.staleSince) + "\n";
    }
    tip += "通道#" + std::to_string(input.cell) + " " + words(input.quantity).name;
    const analysis::CellJudgement* cell = input.judgement;
    if (cell == nullptr || !cell->value) {
        return tip + (input.watched ? " 无数据" : " 设备未监测此通道");
    }
    tip += " " + valueText(input.quantity, *cell->value);
    if (input.limits != nullptr && (cell->band == Band::OverLimit || cell->band == Band::Warning)) {
        tip += "\n" + bandText(input.quantity, cell->band, *cell->value, *input.limits);
    } else if (cell->band == Band::Normal) {
        tip += "\n在报警阀值以内";
    }
    if (cell->deviation) {
        tip += "\n与均值相差 " + format(words(input.quantity).deltaFormat, *cell->deviation);
        if (cell->deviationPercent) {
            tip += "（" + format("%+.1f%%", *cell->deviationPercent) + "）";
        }
    }
    if (input.change != nullptr) {
        tip += "\n" + changeText(*input.change, input.baselineLabel);
    }
    return tip;
}

std::string staleText(std::string_view lastGoodTime) {
    return "数据未更新（上次成功读取 " + std::string(lastGoodTime) + "）";
}

std::string limitsLine(const std::optional<analysis::Limits>& limits) {
    if (!limits) {
        return "未读取报警阀值，仅按均值比较";
    }
    const analysis::Limits& l = *limits;
    const bool any = l.tempUpper || l.tempLower || l.voltUpper || l.voltLower ||
                     l.resistanceUpper || l.currentUpper;
    return any ? "已读取报警阀值，按阀值和均值比较" : "设备未设置报警阀值，仅按均值比较";
}

std::string limitsTip(const analysis::Limits& limits) {
    std::string tip;
    const auto add = [&](const char* name, Quantity q, std::optional<double> lower,
                         std::optional<double> upper) {
        if (!lower && !upper) {
            return;
        }
        tip += tip.empty() ? "" : "\n";
        tip += name;
        tip += lower ? " 下限 " + limitText(q, *lower) : "";
        tip += upper ? " 上限 " + limitText(q, *upper) : "";
    };
    add("电压", Quantity::Voltage, limits.voltLower, limits.voltUpper);
    add("内阻", Quantity::Resistance, std::nullopt, limits.resistanceUpper);
    add("温度", Quantity::Temperature, limits.tempLower, limits.tempUpper);
    if (limits.currentUpper) {
        tip += (tip.empty() ? "" : "\n") + format("总电流 上限 %.0fA", *limits.currentUpper);
    }
    return tip.empty() ? "设备未设置任何报警阀值" : tip;
}

std::string baselineLine(std::string_view label) {
    return label.empty() ? "内阻基准：未选定" : "内阻基准：" + std::string(label);
}

std::string verdictLine(const analysis::Verdict& verdict) {
    if (verdict.stale) {
        return "结论：数据未更新，显示的是上次成功读取的值";
    }
    std::string facts;
    const auto add = [&](int count, const char* what) {
        if (count > 0) {
            facts += (facts.empty() ? "" : "，") + std::to_string(count) + what;
        }
    };
    add(verdict.overLimit, " 项超出报警阀值");
    add(verdict.warnings, " 项接近报警阀值");
    add(verdict.missing, " 个值缺失");
    if (verdict.level == analysis::VerdictLevel::Fail) {
        return "结论：不合格，" + facts;
    }
    if (!facts.empty()) {
        return "结论：注意，" + facts;
    }
    return verdict.judged ? "结论：全部正常" : "结论：未按阀值判断";
}

}  // namespace triage
