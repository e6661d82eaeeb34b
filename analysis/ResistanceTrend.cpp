// Resistance changes against a baseline or the string median, and the per-cell series.
#include "ResistanceTrend.h"

#include <algorithm>
#include <cmath>
#include <numeric>

#include "Statistics.h"

namespace analysis {
namespace {

// A resistance of 0 (or below) is a test that did not measure the cell.
std::optional<double> measured(const std::optional<double>& v) {
    const std::optional<double> u = detail::usable(v);
    return u && *u > 0 ? u : std::nullopt;
}

std::optional<double> medianOf(std::span<const std::optional<double>> values) {
    std::vector<double> present;
    present.reserve(values.size());
    for (const std::optional<double>& v : values) {
        if (const std::optional<double> m = measured(v)) {
            present.push_back(*m);
        }
    }
    if (present.empty()) {
        return std::nullopt;
    }
    return detail::medianInPlace(present);
}

bool reaches(double percent, double threshold) {
    // (1.2 - 1.0) / 1.0 gives 19.999999999999996 %: a change of exactly the threshold counts.
    return std::isfinite(threshold) && percent >= threshold - detail::kNegligible;
}

Band bandOf(double percent, const TrendSettings& settings) {
    if (reaches(percent, settings.failPercent)) {
        return Band::OverLimit;
    }
    return reaches(percent, settings.warnPercent) ? Band::Warning : Band::Normal;
}

CellChange changeOf(std::optional<double> value, std::optional<double> base,
                    std::optional<double> median, const TrendSettings& settings) {
    CellChange change;
    const std::optional<double> reference = base ? base : median;
    if (!value || !reference) {
        return change;
    }
    change.percent = detail::percentOf(*value - *reference, *reference);
    if (!change.percent) {
        return change;
    }
    change.reference = base ? ChangeReference::Baseline : ChangeReference::StringMedian;
    change.band = bandOf(*change.percent, settings);
    return change;
}

}  // namespace

ChangeReport compareResistances(std::span<const std::optional<double>> values,
                                std::span<const std::optional<double>> baseline,
                                const TrendSettings& settings) {
    ChangeReport report;
    report.stringMedian = medianOf(values);
    report.cells.reserve(values.size());
    bool anyPercent = false;
    for (size_t i = 0; i < values.size(); ++i) {
        const std::optional<double> base =
            i < baseline.size() ? measured(baseline[i]) : std::nullopt;
        const CellChange change =
            changeOf(measured(values[i]), base, report.stringMedian, settings);
        report.failures += change.band == Band::OverLimit ? 1 : 0;
        report.warnings += change.band == Band::Warning ? 1 : 0;
        anyPercent = anyPercent || change.percent.has_value();
        report.cells.push_back(change);
    }
    if (report.failures > 0) {
        report.level = VerdictLevel::Fail;
    } else if (report.warnings > 0 || !anyPercent) {
        report.level = VerdictLevel::Warning;
    }
    return report;
}

std::vector<std::vector<TrendPoint>> resistanceTrend(std::span<const ResistanceRecord> records) {
    std::vector<size_t> order(records.size());
    std::iota(order.begin(), order.end(), size_t{0});
    std::stable_sort(order.begin(), order.end(),
                     [&](size_t a, size_t b) { return records[a].time < records[b].time; });
    std::vector<std::vector<TrendPoint>> series(kRecordCells);
    for (std::vector<TrendPoint>& s : series) {
        s.reserve(records.size());
    }
    for (const size_t r : order) {
        const ResistanceRecord& record = records[r];
        for (int cell = 0; cell < kRecordCells; ++cell) {
            if (const std::optional<double> v = measured(record.cells[cell])) {
                series[cell].push_back({record.time, *v});
            }
        }
    }
    return series;
}

}  // namespace analysis
