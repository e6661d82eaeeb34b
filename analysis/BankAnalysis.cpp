// Bank summary, limit bands, worst cells and verdict of one reading.
#include "BankAnalysis.h"

#include <algorithm>
#include <cmath>

#include "Statistics.h"

namespace analysis {
namespace {

using detail::usable;

struct LimitPair {
    std::optional<double> lower;
    std::optional<double> upper;
};

LimitPair limitsOf(Quantity q, const Limits& limits) {
    switch (q) {
        case Quantity::Voltage:
            return {usable(limits.voltLower), usable(limits.voltUpper)};
        case Quantity::Resistance:
            return {std::nullopt, usable(limits.resistanceUpper)};
        case Quantity::Temperature:
            return {usable(limits.tempLower), usable(limits.tempUpper)};
    }
    return {};
}

// Readings and limits come from different scalings (0.001 V against 0.1 V), so a reading
// equal to its limit may differ from it in the last bits.
double tolerance(double limit) {
    return detail::kNegligible * std::max(1.0, std::fabs(limit));
}

double warningMargin(const LimitPair& band, double limit, const JudgeSettings& settings) {
    const double fraction = std::isfinite(settings.warningFraction) && settings.warningFraction > 0
                                ? std::min(settings.warningFraction, 1.0)
                                : 0.0;
    const bool twoSided = band.lower && band.upper && *band.upper > *band.lower;
    return fraction * (twoSided ? *band.upper - *band.lower : std::fabs(limit));
}

// Deviations that are rounding noise count as none, so an all-equal bank has no outlier.
double snapped(double deviation, double mean) {
    return std::fabs(deviation) < tolerance(mean) ? 0.0 : deviation;
}

QuantityReport judgeQuantity(Quantity q, std::span<const std::optional<double>> values, bool stale,
                             const Limits& limits, const JudgeSettings& settings) {
    QuantityReport report;
    report.quantity = q;
    report.stats = summarize(values);
    const LimitPair band = limitsOf(q, limits);
    report.limitsKnown = band.lower || band.upper;
    report.cells.resize(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        CellJudgement& cell = report.cells[i];
        cell.value = usable(values[i]);
        if (!cell.value) {
            continue;
        }
        cell.freshness = stale ? Freshness::Stale : Freshness::Fresh;
        cell.band = judgeValue(*cell.value, band.lower, band.upper, settings);
        const double mean = report.stats->mean;
        cell.deviation = snapped(*cell.value - mean, mean);
        cell.deviationPercent = detail::percentOf(*cell.deviation, mean);
    }
    return report;
}

int severity(Band band) {
    return band == Band::OverLimit ? 2 : band == Band::Warning ? 1 : 0;
}

struct Candidate {
    int cell = 0;
    Reason reason;
};

// Rounding noise must not decide between equal deviations; quantising (rather than comparing
// with a tolerance) keeps the order a strict weak one for std::sort.
double rankKey(const std::optional<double>& v, double step) {
    return v ? std::round(std::fabs(*v) / step) : -1.0;
}

// Ranking order: over-limit, warning, larger |deviation %| (none after any), larger
// |deviation|, voltage before resistance before temperature, lower cell number.
bool ranksBefore(const Candidate& a, const Candidate& b) {
    const Reason& x = a.reason;
    const Reason& y = b.reason;
    if (severity(x.band) != severity(y.band)) {
        return severity(x.band) > severity(y.band);
    }
    const double px = rankKey(x.deviationPercent, 1e-6);
    const double py = rankKey(y.deviationPercent, 1e-6);
    if (px != py) {
        return px > py;
    }
    const double dx = rankKey(x.deviation, detail::kNegligible);
    const double dy = rankKey(y.deviation, detail::kNegligible);
    if (dx != dy) {
        return dx > dy;
    }
    if (x.quantity != y.quantity) {
        return x.quantity < y.quantity;
    }
    return a.cell < b.cell;
}

std::vector<Candidate> candidatesOf(const BankReport& report) {
    std::vector<Candidate> found;
    for (const QuantityReport& q : report.quantities) {
        for (size_t i = 0; i < q.cells.size(); ++i) {
            const CellJudgement& c = q.cells[i];
            // A resistance below the mean is a healthier cell, never a reason to look at it.
            const bool offMean =
                c.deviation &&
                (q.quantity == Quantity::Resistance ? *c.deviation > 0 : *c.deviation != 0);
            if (!c.value || (severity(c.band) == 0 && !offMean)) {
                continue;
            }
            found.push_back({static_cast<int>(i) + 1,
                             {q.quantity, c.band, *c.value, c.deviation, c.deviationPercent,
                              c.freshness == Freshness::Stale}});
        }
    }
    std::sort(found.begin(), found.end(), ranksBefore);
    return found;
}

std::vector<WorstCell> worstCells(const BankReport& report) {
    const std::vector<Candidate> ranked = candidatesOf(report);
    std::vector<WorstCell> worst;
    for (const Candidate& c : ranked) {
        if (worst.size() == kWorstCellCount) {
            break;
        }
        const bool listed = std::any_of(worst.begin(), worst.end(),
                                        [&](const WorstCell& w) { return w.cell == c.cell; });
        if (!listed) {
            worst.push_back({c.cell, {}});
        }
    }
    // Every reason of a chosen cell, worst first, even those ranked below the fifth cell.
    for (const Candidate& c : ranked) {
        for (WorstCell& w : worst) {
            if (w.cell == c.cell) {
                w.reasons.push_back(c.reason);
            }
        }
    }
    return worst;
}

void count(Verdict& verdict, Band band) {
    verdict.overLimit += band == Band::OverLimit ? 1 : 0;
    verdict.warnings += band == Band::Warning ? 1 : 0;
    verdict.judged = verdict.judged || band != Band::Unjudged;
}

Verdict verdictOf(const BankReport& report, bool stale) {
    Verdict verdict;
    verdict.stale = stale;
    for (const QuantityReport& q : report.quantities) {
        for (const CellJudgement& c : q.cells) {
            count(verdict, c.band);
            verdict.missing += c.freshness == Freshness::Missing ? 1 : 0;
        }
    }
    count(verdict, report.currentBand);
    if (verdict.overLimit > 0) {
        verdict.level = VerdictLevel::Fail;
    } else if (verdict.warnings > 0 || verdict.missing > 0 || stale || !verdict.judged) {
        verdict.level = VerdictLevel::Warning;
    }
    return verdict;
}

}  // namespace

std::optional<QuantityStats> summarize(std::span<const std::optional<double>> values) {
    QuantityStats stats;
    std::vector<double> present;
    present.reserve(values.size());
    for (size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> v = usable(values[i]);
        if (!v) {
            continue;
        }
        const int cell = static_cast<int>(i) + 1;
        if (present.empty() || *v < stats.min.value) {
            stats.min = {*v, {cell}};
        } else if (*v == stats.min.value) {
            stats.min.cells.push_back(cell);
        }
        if (present.empty() || *v > stats.max.value) {
            stats.max = {*v, {cell}};
        } else if (*v == stats.max.value) {
            stats.max.cells.push_back(cell);
        }
        present.push_back(*v);
        // A running mean stays exact for equal values, where a sum divided by the count
        // may not.
        stats.mean += (*v - stats.mean) / static_cast<double>(present.size());
    }
    if (present.empty()) {
        return std::nullopt;
    }
    stats.count = static_cast<int>(present.size());
    stats.spread = stats.max.value - stats.min.value;
    stats.median = detail::medianInPlace(present);
    return stats;
}

Band judgeValue(double value, std::optional<double> lower, std::optional<double> upper,
                const JudgeSettings& settings) {
    const LimitPair band{usable(lower), usable(upper)};
    if ((!band.lower && !band.upper) || !usable(value)) {
        return Band::Unjudged;
    }
    bool near = false;
    if (band.upper) {
        const double limit = *band.upper;
        if (value > limit + tolerance(limit)) {
            return Band::OverLimit;
        }
        near = value >= limit - warningMargin(band, limit, settings) - tolerance(limit);
    }
    if (band.lower) {
        const double limit = *band.lower;
        if (value < limit - tolerance(limit)) {
            return Band::OverLimit;
        }
        near = near || value <= limit + warningMargin(band, limit, settings) + tolerance(limit);
    }
    return near ? Band::Warning : Band::Normal;
}

BankReport assessBank(const BankInput& input, const Limits& limits, const JudgeSettings& settings) {
    BankReport report;
    report.quantities = {
        judgeQuantity(Quantity::Voltage, input.voltages, input.stale, limits, settings),
        judgeQuantity(Quantity::Resistance, input.resistances, input.stale, limits, settings),
        judgeQuantity(Quantity::Temperature, input.temperatures, input.stale, limits, settings)};
    if (const std::optional<double> current = usable(input.current)) {
        report.currentBand =
            judgeValue(std::fabs(*current), std::nullopt, usable(limits.currentUpper), settings);
    }
    report.worst = worstCells(report);
    report.verdict = verdictOf(report, input.stale);
    return report;
}

}  // namespace analysis
