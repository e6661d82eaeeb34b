// What the internal-resistance record dialog judges, without Qt: its records as resistance
// tests, each cell's change as the operator reads it, the change thresholds as typed, and
// the 40 curves of the trend view.
#pragma once

#include <memory>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "CurveGeometry.h"
#include "JudgeState.h"
#include "RecordDecoding.h"

// The test a record holds, in mΩ; a cell the device stored as 0 was not measured. A stamp
// that names no moment gives time 0 (such a record has no place in the trend).
analysis::ResistanceRecord resistanceRecordOf(const StoredRecord& record);
// The baseline made of a record: its test, labelled with its time as the list shows it.
ResistanceBaseline baselineOf(const StoredRecord& record);

// Every cell of `record` against the baseline, or against the record's own string median
// when there is none.
analysis::ChangeReport changeOf(const StoredRecord& record,
                                const std::optional<ResistanceBaseline>& baseline,
                                const analysis::TrendSettings& settings);

// "+23.5%"; "--" without a value or a reference. With a baseline, a cell compared with the
// median instead (the baseline did not measure it) is marked "*".
std::string changeText(const analysis::CellChange& change, bool withBaseline);

// The cell that rose most (the one that fell least when none rose).
struct WorstChange {
    int cell = 0;  // 1..40
    double percent = 0;
    analysis::Band band = analysis::Band::Unjudged;
};
std::optional<WorstChange> worstChange(const analysis::ChangeReport& report);
// "+81.2%(通道7)"; empty when no cell has a change.
std::string worstChangeText(const std::optional<WorstChange>& worst);

// What every change is measured against, in one line.
std::string referenceNote(const std::optional<ResistanceBaseline>& baseline);

// The two thresholds as the operator typed them: new settings, or why they are refused.
struct ThresholdCheck {
    std::optional<analysis::TrendSettings> settings;
    std::string error;
};
ThresholdCheck checkThresholds(std::string_view warnText, std::string_view failText);
// "20", "22.5": a threshold as its edit shows it.
std::string thresholdText(double percent);

// The records whose stamp names a moment, as tests; `untimed` counts the others.
std::vector<analysis::ResistanceRecord> timedRecords(std::span<const StoredRecord> records,
                                                     int& untimed);
// Series k is cell k + 1 in mΩ over the tests in time order; a test that did not measure
// the cell adds no point to it.
std::vector<std::unique_ptr<CCurveSeries>> trendSeries(
    std::span<const analysis::ResistanceRecord> tests);
// The value axis of the trend view: mΩ, two decimals, following the curves shown.
ValueAxis resistanceAxis();

// The row of `record` is the baseline's: the same time and the same resistances.
bool isBaselineRecord(const StoredRecord& record,
                      const std::optional<ResistanceBaseline>& baseline);
// A reference resistance as the change view writes it: "3.52mΩ", "--" when absent.
std::string referenceText(const std::optional<double>& milliohm);
