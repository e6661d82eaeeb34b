// The resistance records' changes and trend as the dialog shows them.
#include "ResistanceChange.h"

#include <cmath>
#include <cstdlib>

#include "RegisterCoding.h"
#include "Strings.h"

namespace {

constexpr double kMilliohmPerCount = 0.01;
// A change beyond ten times the value is no threshold a technician would set.
constexpr double kMaxThreshold = 1000;

std::optional<double> percentIn(std::string_view text) {
    const std::string s(text);
    if (s.empty() || s.find_first_not_of("0123456789.+ ") != std::string::npos) {
        return std::nullopt;
    }
    char* end = nullptr;
    const double value = std::strtod(s.c_str(), &end);
    while (end != nullptr && *end == ' ') {
        ++end;
    }
    if (end == s.c_str() || end == nullptr || *end != '\0' || !std::isfinite(value) || value <= 0 ||
        value > kMaxThreshold) {
        return std::nullopt;
    }
    return value;
}

analysis::ResistanceRecord testAt(const StoredRecord& record, int64_t time) {
    analysis::ResistanceRecord test;
    test.time = time;
    for (size_t k = 0; k < test.cells.size(); ++k) {
        const uint16_t raw = record.channels[k];
        if (raw != 0) {
            test.cells[k] = raw * kMilliohmPerCount;
        }
    }
    return test;
}

}  // namespace

analysis::ResistanceRecord resistanceRecordOf(const StoredRecord& record) {
    return testAt(record, stampTime(record.stamp).value_or(0));
}

ResistanceBaseline baselineOf(const StoredRecord& record) {
    return {resistanceRecordOf(record), timeStampText(record.stamp)};
}

bool isBaselineRecord(const StoredRecord& record,
                      const std::optional<ResistanceBaseline>& baseline) {
    return baseline && baseline->label == timeStampText(record.stamp) &&
           baseline->record.cells == testAt(record, 0).cells;
}

std::string referenceText(const std::optional<double>& milliohm) {
    return milliohm && std::isfinite(*milliohm) ? formatText("%.2fmΩ", *milliohm) : "--";
}

analysis::ChangeReport changeOf(const StoredRecord& record,
                                const std::optional<ResistanceBaseline>& baseline,
                                const analysis::TrendSettings& settings) {
    const analysis::ResistanceRecord test = testAt(record, 0);  // no time needed here
    std::span<const std::optional<double>> base;
    if (baseline) {
        base = baseline->record.cells;
    }
    return analysis::compareResistances(test.cells, base, settings);
}

std::string changeText(const analysis::CellChange& change, bool withBaseline) {
    if (!change.percent) {
        return "--";
    }
    const bool marked = withBaseline && change.reference == analysis::ChangeReference::StringMedian;
    // -0.04 % would read "-0.0%": a change too small to show has no sign.
    const double shown = std::fabs(*change.percent) < 0.05 ? 0.0 : *change.percent;
    return formatText("%+.1f%%%s", shown, marked ? "*" : "");
}

std::optional<WorstChange> worstChange(const analysis::ChangeReport& report) {
    std::optional<WorstChange> worst;
    for (size_t k = 0; k < report.cells.size(); ++k) {
        const analysis::CellChange& c = report.cells[k];
        if (c.percent && (!worst || *c.percent > worst->percent)) {
            worst = WorstChange{static_cast<int>(k) + 1, *c.percent, c.band};
        }
    }
    return worst;
}

std::string worstChangeText(const std::optional<WorstChange>& worst) {
    if (!worst) {
        return "";
    }
    analysis::CellChange change;
    change.percent = worst->percent;
    return changeText(change, false) + formatText(kChangeWorstCell, worst->cell);
}

std::string referenceNote(const std::optional<ResistanceBaseline>& baseline) {
    if (!baseline) {
        return kChangeAgainstMedian;
    }
    return formatText(kChangeAgainstBaseline, baseline->label.c_str());
}

ThresholdCheck checkThresholds(std::string_view warnText, std::string_view failText) {
    ThresholdCheck check;
    const std::optional<double> warn = percentIn(warnText);
    if (!warn) {
        check.error = kMsgWarnPercentInvalid;
        return check;
    }
    const std::optional<double> fail = percentIn(failText);
    if (!fail) {
        check.error = kMsgFailPercentInvalid;
        return check;
    }
    if (*fail <= *warn) {
        check.error = kMsgFailNotAboveWarn;
        return check;
    }
    check.settings = analysis::TrendSettings{*warn, *fail};
    return check;
}

std::string thresholdText(double percent) {
    return formatText("%g", percent);
}

std::vector<analysis::ResistanceRecord> timedRecords(std::span<const StoredRecord> records,
                                                     int& untimed) {
    untimed = 0;
    std::vector<analysis::ResistanceRecord> tests;
    tests.reserve(records.size());
    for (const StoredRecord& record : records) {
        const std::optional<int32_t> time = stampTime(record.stamp);
        if (!time) {
            ++untimed;
            continue;
        }
        tests.push_back(testAt(record, *time));
    }
    return tests;
}

std::vector<std::unique_ptr<CCurveSeries>> trendSeries(
    std::span<const analysis::ResistanceRecord> tests) {
    std::vector<std::unique_ptr<CCurveSeries>> series;
    if (tests.empty()) {
        return series;
    }
    for (const std::vector<analysis::TrendPoint>& points : analysis::resistanceTrend(tests)) {
        auto curve = std::make_unique<CCurveSeries>();
        curve->m_times.reserve(points.size());
        curve->m_values.reserve(points.size());
        for (const analysis::TrendPoint& p : points) {
            // Times come from stamps, which 32-bit time holds.
            curve->m_times.push_back(static_cast<int32_t>(p.time));
            curve->m_values.push_back(static_cast<float>(p.value));
        }
        series.push_back(std::move(curve));
    }
    return series;
}

ValueAxis resistanceAxis() {
    ValueAxis axis;
    axis.unit = "mΩ";
    axis.minDecimals = 2;
    axis.minSpan = 0.1;
    return axis;
}
