// Judges one reading of the bank without Qt or I/O: per-quantity summary, limit bands for
// colouring, the worst cells with why, and a verdict a command line maps to an exit code.
// Values come in engineering units (V, mOhm, degC, A); a cell without a value is nullopt.
#pragma once

#include <array>
#include <optional>
#include <span>
#include <vector>

namespace analysis {

enum class Quantity { Voltage, Resistance, Temperature };
inline constexpr int kQuantityCount = 3;

// Normal/Warning/OverLimit are judgements against a limit; Unjudged means no limit is known
// for the value (or there is no value). The resistance trend uses OverLimit for "fail".
enum class Band { Unjudged, Normal, Warning, OverLimit };

// Fresh: read at the last tick. Stale: kept from an earlier tick after failed ticks; it keeps
// its band (an old over-limit stays visible) but is never counted as a fresh reading.
enum class Freshness { Fresh, Stale, Missing };

enum class VerdictLevel { Ok = 0, Warning = 1, Fail = 2 };

// The device's limits (0x100E-0x1011) as they were last read; nullopt = not known.
// A lower limit at or above its upper one is still applied side by side, as the device does.
struct Limits {
    std::optional<double> tempUpper;
    std::optional<double> tempLower;
    std::optional<double> voltUpper;
    std::optional<double> voltLower;
    std::optional<double> resistanceUpper;
    std::optional<double> currentUpper;  // against the current's magnitude (charge or discharge)
};

struct JudgeSettings {
    // A value this close to a limit is a warning: the fraction of the band's width (upper -
    // lower) when both limits are known and upper > lower, else of the limit's magnitude.
    // Exactly at a limit is a warning; beyond it is over the limit. Above 1 counts as 1;
    // negative or NaN as 0 (no warning band).
    double warningFraction = 0.05;
};

// One reading. A span may hold fewer or more than 40 cells; cell numbers are index + 1.
// Non-finite values and magnitudes above 1e9 are taken as missing, so no result is ever NaN
// or infinite.
struct BankInput {
    std::span<const std::optional<double>> voltages;
    std::span<const std::optional<double>> resistances;
    std::span<const std::optional<double>> temperatures;
    std::optional<double> current;
    bool stale = false;  // the whole reading is from an earlier tick
};

struct Extreme {
    double value = 0;
    std::vector<int> cells;  // every cell holding the value (ties listed), ascending
};

// Over the cells that have a value; absent when none has.
struct QuantityStats {
    int count = 0;
    Extreme min;
    Extreme max;
    double mean = 0;
    double median = 0;  // of an even count: the mean of the two middle values
    double spread = 0;  // max - min
};

struct CellJudgement {
    std::optional<double> value;
    Freshness freshness = Freshness::Missing;
    Band band = Band::Unjudged;
    std::optional<double> deviation;         // value - mean, in the quantity's unit
    std::optional<double> deviationPercent;  // of |mean|; absent when the mean is (nearly) 0
};

struct QuantityReport {
    Quantity quantity = Quantity::Voltage;
    std::optional<QuantityStats> stats;
    std::vector<CellJudgement> cells;  // index = cell number - 1
    bool limitsKnown = false;          // at least one limit applies to this quantity
};

struct Reason {
    Quantity quantity = Quantity::Voltage;
    Band band = Band::Unjudged;
    double value = 0;
    std::optional<double> deviation;
    std::optional<double> deviationPercent;
    bool stale = false;
};

// A cell among the worst: its reasons, worst first (one per quantity that stands out).
struct WorstCell {
    int cell = 0;
    std::vector<Reason> reasons;
};

struct Verdict {
    VerdictLevel level = VerdictLevel::Ok;
    int overLimit = 0;  // (cell, quantity) pairs over a limit, the current included
    int warnings = 0;
    int missing = 0;
    bool stale = false;
    bool judged = false;  // some value met a known limit
};

struct BankReport {
    std::array<QuantityReport, kQuantityCount> quantities;  // voltage, resistance, temperature
    Band currentBand = Band::Unjudged;
    std::vector<WorstCell> worst;  // at most kWorstCellCount
    Verdict verdict;
    const QuantityReport& of(Quantity q) const { return quantities[static_cast<int>(q)]; }
};

inline constexpr int kWorstCellCount = 5;

// Summary, bands, worst cells and verdict of one reading.
// Worst cells: each (cell, quantity) that is over a limit, in the warning band or off the mean
// (a resistance only above it: a lower one is a healthier cell) is a candidate, ranked over-limit first, then warning, then by |deviation %| (larger first),
// then voltage before resistance before temperature, then the lower cell number. A cell
// appears once, with all its candidate reasons. An all-equal bank within limits has none.
// Verdict: Fail when anything is over a limit; Warning when anything is in the warning band,
// a cell is missing, the reading is stale, or no value could be judged against a limit.
BankReport assessBank(const BankInput& input, const Limits& limits,
                      const JudgeSettings& settings = {});

// Summary of one quantity's values alone.
std::optional<QuantityStats> summarize(std::span<const std::optional<double>> values);

// Band of one value against optional lower and upper limits.
Band judgeValue(double value, std::optional<double> lower, std::optional<double> upper,
                const JudgeSettings& settings = {});

// The worse of two verdict levels, to combine the bank and the resistance trend.
constexpr VerdictLevel worse(VerdictLevel a, VerdictLevel b) {
    return a > b ? a : b;
}
// 0 ok, 1 warning, 2 fail.
constexpr int exitCode(VerdictLevel level) {
    return static_cast<int>(level);
}

}  // namespace analysis
