// Internal-resistance trend without Qt or I/O: each cell's change in % against a baseline
// record (or against the string median), and each cell's resistance over the records read,
// as series ready for a chart. Resistances are in mOhm; 0 or nullopt = not measured.
#pragma once

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <vector>

#include "BankAnalysis.h"

namespace analysis {

inline constexpr int kRecordCells = 40;

// One stored internal-resistance test: its time and the 40 cells it measured.
struct ResistanceRecord {
    int64_t time = 0;  // seconds since the epoch
    std::array<std::optional<double>, kRecordCells> cells;
};

// Change thresholds in %, both inclusive. A NaN or infinite threshold is not applied.
struct TrendSettings {
    double warnPercent = 20;
    double failPercent = 50;
};

enum class ChangeReference { None, Baseline, StringMedian };

struct CellChange {
    std::optional<double> percent;  // absent without a value or a reference; never NaN
    ChangeReference reference = ChangeReference::None;
    Band band = Band::Unjudged;  // Normal, Warning (>= warn) or OverLimit (>= fail)
};

struct ChangeReport {
    std::vector<CellChange> cells;       // index = cell number - 1
    std::optional<double> stringMedian;  // median of the measured compared values
    int warnings = 0;
    int failures = 0;
    // Fail on any failure, Warning on any warning or when no cell had a percentage.
    VerdictLevel level = VerdictLevel::Ok;
};

// Each cell of `values` against the same cell of `baseline`. Where the baseline is empty
// (none chosen), or its cell is 0 or missing, the cell is compared with the median of the
// measured `values` instead, and marked so. A cell not measured in `values` gets no %.
ChangeReport compareResistances(std::span<const std::optional<double>> values,
                                std::span<const std::optional<double>> baseline,
                                const TrendSettings& settings = {});

struct TrendPoint {
    int64_t time = 0;
    double value = 0;
    bool operator==(const TrendPoint&) const = default;
};

// Series k is cell k + 1 over the records in time order (records of equal time keep their
// order); a record that did not measure the cell adds no point to its series.
std::vector<std::vector<TrendPoint>> resistanceTrend(std::span<const ResistanceRecord> records);

}  // namespace analysis
