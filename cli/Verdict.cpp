// Judging a reading with the bank analysis, and the texts of a verdict and its reasons.
#include "Verdict.h"

#include <cmath>

#include "DeviceJudging.h"
#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

using analysis::Band;
using analysis::Quantity;

// By quantity (voltage, resistance, temperature, then the bank current): the name, the value
// as the bank page shows it, the limit as the system parameter page does.
struct QuantityTexts {
    const char* key;
    const char* name;
    const char* value;
    const char* limit;
};
constexpr QuantityTexts kTexts[] = {
    {"voltage", "电压", "%.3fV", "%.1fV"},
    {"resistance", "内阻", "%.2fmΩ", "%.1fmΩ"},
    {"temperature", "温度", "%.1f℃", "%.0f℃"},
    {"current", "电池组总电流", "%.1fA", "%.0fA"},
};
constexpr int kCurrentTexts = 3;
constexpr double kFinePercent = 0.1;

struct Side {
    std::optional<double> lower;
    std::optional<double> upper;
};

Side sideOf(Quantity q, const analysis::Limits& l) {
    switch (q) {
        case Quantity::Voltage:
            return {l.voltLower, l.voltUpper};
        case Quantity::Resistance:
            return {std::nullopt, l.resistanceUpper};
        case Quantity::Temperature:
            break;
    }
    return {l.tempLower, l.tempUpper};
}

// "超过上限 14.0V" and the like: the side the value is beyond or nearest to.
std::string bandText(const QuantityTexts& t, Band band, double value, const Side& side) {
    const bool upper =
        side.upper &&
        (!side.lower || (band == Band::OverLimit
                             ? value > *side.upper
                             : std::fabs(value - *side.upper) <= std::fabs(value - *side.lower)));
    const double limit = upper ? *side.upper : side.lower.value_or(0);
    const char* where = band == Band::OverLimit ? (upper ? "超过上限" : "低于下限")
                                                : (upper ? "接近上限" : "接近下限");
    return std::string(where) + " " + formatText(t.limit, limit);
}

std::string deviationText(const QuantityTexts& t, const analysis::Reason& r) {
    const double deviation = r.deviation.value_or(0);
    const char* where = deviation >= 0 ? "高于平均值" : "低于平均值";
    if (r.deviationPercent) {
        // A millivolt on a 12 V cell is under a tenth of a percent: shown, not as 0.0 %.
        const double percent = std::fabs(*r.deviationPercent);
        return formatText(percent < kFinePercent ? "%s %.2f%%" : "%s %.1f%%", where, percent);
    }
    return std::string(where) + " " + formatText(t.value, std::fabs(deviation));
}

}  // namespace

Verdict worse(Verdict a, Verdict b) {
    return static_cast<int>(a) >= static_cast<int>(b) ? a : b;
}

const char* verdictName(Verdict verdict) {
    constexpr const char* kNames[] = {"ok", "warning", "fail", "no-answer"};
    return kNames[static_cast<int>(verdict)];
}

const char* verdictText(Verdict verdict) {
    constexpr const char* kNames[] = {"正常", "警告", "故障", "无应答"};
    return kNames[static_cast<int>(verdict)];
}

Judgement judgeReading(const LiveReadings& live, const AlarmLimits& limits,
                       const AlarmMasks& masks) {
    const analysis::BankValues values = analysis::bankValues(live, &masks);
    Judgement j;
    j.limits = analysis::limitsFromDevice(limits);
    j.report = analysis::assessBank(analysis::bankInput(values), j.limits);
    j.unmeasured = analysis::unmeasuredCells(values, &masks);
    j.verdict = static_cast<Verdict>(analysis::deviceVerdict(j.report, j.unmeasured));
    return j;
}

const char* bandName(Band band) {
    switch (band) {
        case Band::Normal:
            return "ok";
        case Band::Warning:
            return "warning";
        case Band::OverLimit:
            return "fail";
        case Band::Unjudged:
            break;
    }
    return "unjudged";
}

const char* quantityName(Quantity quantity) {
    return kTexts[static_cast<int>(quantity)].key;
}

std::string reasonText(int cell, const analysis::Reason& r, const analysis::Limits& limits) {
    const QuantityTexts& t = kTexts[static_cast<int>(r.quantity)];
    const std::string what =
        channelLabel(cell) + " " + t.name + " " + formatText(t.value, r.value) + " ";
    if (r.band == Band::OverLimit || r.band == Band::Warning) {
        return what + bandText(t, r.band, r.value, sideOf(r.quantity, limits));
    }
    return what + deviationText(t, r);
}

std::string currentText(const Judgement& j, double current) {
    const Band band = j.report.currentBand;
    if (band != Band::OverLimit && band != Band::Warning) {
        return {};
    }
    const QuantityTexts& t = kTexts[kCurrentTexts];
    return std::string(t.name) + " " + formatText(t.value, current) + " " +
           bandText(t, band, std::fabs(current), {std::nullopt, j.limits.currentUpper});
}
