// Judging against the device's limits, and the texts of a verdict.
#include "Verdict.h"

#include <algorithm>
#include <cmath>
#include <optional>

#include "RegisterCoding.h"
#include "ValueText.h"

namespace {

struct Band {
    bool hasLower = false;
    double lower = 0;
    double upper = 0;
    double margin = 0;  // in units
};

// The band of one quantity, or nullopt when the limits judge nothing.
std::optional<Band> twoSided(double lower, double upper, double share) {
    if (!(lower < upper)) {
        return std::nullopt;
    }
    return Band{true, lower, upper, (upper - lower) * share};
}

std::optional<Band> upperOnly(double upper, double share) {
    if (!(upper > 0)) {
        return std::nullopt;
    }
    return Band{false, 0, upper, upper * share};
}

void judge(Quantity quantity, int cell, double value, double size, const Band& band,
           std::vector<Finding>& findings) {
    if (size > band.upper) {
        findings.push_back({quantity, cell, value, band.upper, true, Verdict::Fail});
    } else if (band.hasLower && size < band.lower) {
        findings.push_back({quantity, cell, value, band.lower, false, Verdict::Fail});
    } else if (size >= band.upper - band.margin) {
        findings.push_back({quantity, cell, value, band.upper, true, Verdict::Warning});
    } else if (band.hasLower && size <= band.lower + band.margin) {
        findings.push_back({quantity, cell, value, band.lower, false, Verdict::Warning});
    }
}

void judgeCells(Quantity quantity, const CellValues& values, const ChannelSet& watched,
                const std::optional<Band>& band, std::vector<Finding>& findings) {
    if (!band) {
        return;
    }
    for (int k = 0; k < kCellCount; ++k) {
        const auto i = static_cast<size_t>(k);
        if (watched[i]) {
            judge(quantity, k + 1, values[i], values[i], *band, findings);
        }
    }
}

// By Quantity: the name, the value as the bank page shows it, the limit as the system
// parameter page does.
struct QuantityTexts {
    const char* name;
    const char* value;
    const char* limit;
};
constexpr QuantityTexts kTexts[] = {
    {"电压", "%.3fV", "%.1fV"},
    {"内阻", "%.2fmΩ", "%.1fmΩ"},
    {"温度", "%.1f℃", "%.0f℃"},
    {"电池组总电流", "%.1fA", "%.0fA"},
};

const QuantityTexts& texts(Quantity quantity) {
    return kTexts[static_cast<int>(quantity)];
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
    constexpr const char* kTexts[] = {"正常", "警告", "故障", "无应答"};
    return kTexts[static_cast<int>(verdict)];
}

BankJudge limitBands(const AlarmLimits& limits, const AlarmMasks& masks, double margin) {
    const auto voltage = twoSided(limits.voltLower, limits.voltUpper, margin);
    const auto resistance = upperOnly(limits.resistanceUpper, margin);
    const auto temperature = twoSided(limits.tempLower, limits.tempUpper, margin);
    const auto current = upperOnly(limits.currentUpper, margin);
    return [=](const LiveReadings& live) {
        std::vector<Finding> findings;
        judgeCells(Quantity::Voltage, live.voltages, masks.voltage, voltage, findings);
        judgeCells(Quantity::Resistance, live.resistances, masks.resistance, resistance, findings);
        judgeCells(Quantity::Temperature, live.temperatures, masks.temperature, temperature,
                   findings);
        if (current) {
            judge(Quantity::Current, 0, live.current, std::fabs(live.current), *current, findings);
        }
        std::stable_partition(findings.begin(), findings.end(),
                              [](const Finding& f) { return f.verdict == Verdict::Fail; });
        Judgement judgement;
        for (const Finding& f : findings) {
            judgement.verdict = worse(judgement.verdict, f.verdict);
        }
        judgement.findings = std::move(findings);
        return judgement;
    };
}

std::string findingText(const Finding& f) {
    const char* where = f.verdict == Verdict::Fail ? (f.upper ? "超过上限" : "低于下限")
                                                   : (f.upper ? "接近上限" : "接近下限");
    const QuantityTexts& t = texts(f.quantity);
    const std::string what =
        f.quantity == Quantity::Current ? std::string(t.name) : channelLabel(f.cell) + " " + t.name;
    return what + " " + formatText(t.value, f.value) + " " + where + " " +
           formatText(t.limit, f.limit);
}
