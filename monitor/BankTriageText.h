// What the bank page says about one judged reading, in the operator's words: the mark of
// each cell, its tip, the summary table, the worst cells with why and the verdict. Pure: no
// Qt, no I/O; the page only puts these texts where they belong.
#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "BankAnalysis.h"
#include "ResistanceTrend.h"

namespace triage {

// How a value cell looks: no mark before anything was judged (or without a value), the
// three bands against the device's limits, and old values after failed ticks.
enum class CellMark { None, Normal, Warning, Over, Stale };
CellMark cellMark(const analysis::CellJudgement& cell);

// "12.100V", "9.00mΩ", "35.5℃": as the lists show values.
std::string valueText(analysis::Quantity quantity, double value);

// The five rows of the summary table, for one quantity's column, without the unit (the
// column's heading gives it) so that the cell numbers fit; "—" without values.
struct SummaryColumn {
    std::string min;
    std::string max;
    std::string mean;
    std::string median;
    std::string spread;
};
SummaryColumn summaryColumn(analysis::Quantity quantity,
                            const std::optional<analysis::QuantityStats>& stats);

// "内阻 9.00mΩ 超过上限 6.5mΩ", "电压 12.100V 低于均值 8.3%".
std::string reasonText(const analysis::Reason& reason, const analysis::Limits& limits);
// "通道#17 内阻 9.00mΩ 超过上限 6.5mΩ；电压 12.100V 低于均值 8.3%".
std::string worstCellText(const analysis::WorstCell& worst, const analysis::Limits& limits);

// What the tip of one value cell says, one fact a line. `change` is the cell's change
// against the chosen resistance baseline (resistances only); `staleSince` the time of the
// last good read when the value is old.
struct TipInput {
    analysis::Quantity quantity = analysis::Quantity::Voltage;
    int cell = 1;
    const analysis::CellJudgement* judgement = nullptr;
    const analysis::Limits* limits = nullptr;
    const analysis::CellChange* change = nullptr;
    std::string_view baselineLabel;
    std::string_view staleSince;
    bool watched = true;  // false: the device's masks leave this channel out
};
std::string cellTip(const TipInput& input);

// "数据未更新（上次成功读取 12:00:01）"
std::string staleText(std::string_view lastGoodTime);
// Whether the limits are known (nullopt: never read) and any of them set, and with what
// values (for the line's tip).
std::string limitsLine(const std::optional<analysis::Limits>& limits);
std::string limitsTip(const analysis::Limits& limits);
// The resistance comparison's line: the baseline's label, or that none is chosen.
std::string baselineLine(std::string_view label);
// "结论：…"; a stale reading says only that it is old (the time is in staleText).
std::string verdictLine(const analysis::Verdict& verdict);

}  // namespace triage
