// Showing the bank's judgement: the value cells of the three lists are found by the lists'
// own row and column rule; everything said comes from BankTriageText.
#include "BankTriageView.h"

#include <array>

#include "BankTriageText.h"
#include "CellMarkStyle.h"
#include "DeviceJudging.h"
#include "Dialog.h"
#include "JudgeState.h"
#include "ReportList.h"
#include "ids/BankIds.h"

namespace ids = idc::bank;
using analysis::Quantity;

namespace {

constexpr int kRows = 10;
constexpr Quantity kQuantities[] = {Quantity::Voltage, Quantity::Resistance, Quantity::Temperature};
constexpr int kValueLists[] = {ids::kVoltageList, ids::kResistanceList, ids::kTemperatureList};
constexpr const char* kSummaryRows[] = {"最低", "最高", "均值", "中位数", "极差"};

struct Judged {
    analysis::BankReport report;
    analysis::Limits limits;
    std::optional<analysis::ChangeReport> change;  // against the chosen baseline
};

Judged judge(const analysis::BankValues& values, bool stale) {
    const JudgeState& state = judgeState();
    Judged judged;
    judged.limits = state.limits.value_or(analysis::Limits{});
    judged.report =
        analysis::assessBank(analysis::bankInput(values, stale), judged.limits, state.judge);
    // Missing counts only the channels the device watches, as every verdict of the program.
    analysis::Verdict& verdict = judged.report.verdict;
    verdict.missing = analysis::unmeasuredCells(values, state.masks ? &*state.masks : nullptr);
    verdict.level = analysis::deviceVerdict(judged.report, verdict.missing);
    if (state.baseline) {
        judged.change = analysis::compareResistances(values.resistances,
                                                     state.baseline->record.cells, state.trend);
    }
    return judged;
}

// Whether the device watches channel k + 1 for the quantity, as far as its masks are known.
bool watched(Quantity q, int k) {
    const auto& masks = judgeState().masks;
    if (!masks) {
        return true;
    }
    const ChannelSet& set = q == Quantity::Voltage      ? masks->voltage
                            : q == Quantity::Resistance ? masks->resistance
                                                        : masks->temperature;
    return set[static_cast<size_t>(k)];
}

void markCells(CDialog& page, const Judged& judged, std::string_view staleSince) {
    const std::string_view baseline =
        judgeState().baseline ? std::string_view(judgeState().baseline->label) : "";
    for (int q = 0; q < analysis::kQuantityCount; ++q) {
        CReportList* list = page.reportList(kValueLists[q]);
        const analysis::QuantityReport& quantity = judged.report.quantities[q];
        for (int k = 0; k < static_cast<int>(quantity.cells.size()) && k < kCellCount; ++k) {
            const analysis::CellJudgement& cell = quantity.cells[static_cast<size_t>(k)];
            const analysis::CellChange* change =
                judged.change && kQuantities[q] == Quantity::Resistance &&
                        k < static_cast<int>(judged.change->cells.size())
                    ? &judged.change->cells[static_cast<size_t>(k)]
                    : nullptr;
            const int row = k % kRows;
            const int column = 1 + 3 * (k / kRows);
            list->setItemStyle(row, column, cellMarkStyle(triage::cellMark(cell)));
            list->setItemToolTip(
                row, column,
                triage::cellTip({kQuantities[q], k + 1, &cell, &judged.limits, change, baseline,
                                 staleSince, watched(kQuantities[q], k)}));
        }
    }
}

void showSummary(CDialog& page, const analysis::BankReport& report) {
    CReportList* list = page.reportList(ids::kSummaryList);
    for (int q = 0; q < analysis::kQuantityCount; ++q) {
        const triage::SummaryColumn column =
            triage::summaryColumn(kQuantities[q], report.quantities[q].stats);
        const std::array<const std::string*, 5> texts = {&column.min, &column.max, &column.mean,
                                                         &column.median, &column.spread};
        for (int row = 0; row < 5; ++row) {
            list->setItemText(row, 1 + q, *texts[row]);
            list->setItemToolTip(row, 1 + q, *texts[row]);
        }
    }
}

void showWorst(CDialog& page, const Judged& judged) {
    CReportList* list = page.reportList(ids::kWorstList);
    const std::vector<analysis::WorstCell>& worst = judged.report.worst;
    for (int row = 0; row < analysis::kWorstCellCount; ++row) {
        const bool shown = row < static_cast<int>(worst.size());
        const std::string text =
            shown ? triage::worstCellText(worst[static_cast<size_t>(row)], judged.limits) : "";
        list->setItemText(row, 1, text);
        list->setItemToolTip(row, 1, text);
    }
}

}  // namespace

void setUpTriageLists(CDialog& page) {
    if (CReportList* summary = page.reportList(ids::kSummaryList)) {
        summary->insertColumn(0, "项目", 46);
        summary->insertColumn(1, "电压(V)", 92);
        summary->insertColumn(2, "内阻(mΩ)", 100);
        summary->insertColumn(3, "温度(℃)", 80);
        for (int row = 0; row < 5; ++row) {
            summary->insertItem(row, kSummaryRows[row]);
        }
        summary->fitRows(5);
    }
    if (CReportList* worst = page.reportList(ids::kWorstList)) {
        worst->insertColumn(0, "名次", 40);
        worst->insertColumn(1, "通道与原因", 278);
        for (int row = 0; row < analysis::kWorstCellCount; ++row) {
            worst->insertItem(row, std::to_string(row + 1));
        }
        worst->fitRows(analysis::kWorstCellCount);
    }
}

void showBankTriage(CDialog& page, const LiveReadings& readings, bool stale,
                    std::string_view lastGoodTime) {
    // Channels the device does not watch are no cells of the bank (a short string).
    const auto& masks = judgeState().masks;
    const analysis::BankValues values = analysis::bankValues(readings, masks ? &*masks : nullptr);
    const Judged judged = judge(values, stale);
    const std::string_view staleSince = stale ? lastGoodTime : "";
    markCells(page, judged, staleSince);
    showSummary(page, judged.report);
    showWorst(page, judged);
    const bool known = judgeState().limits.has_value();
    page.setWindowText(ids::kLimitsState, triage::limitsLine(judgeState().limits));
    page.setWindowText(ids::kVerdict, triage::verdictLine(judged.report.verdict));
    page.setWindowText(
        ids::kBaseline,
        triage::baselineLine(judgeState().baseline ? judgeState().baseline->label : std::string()));
    if (QWidget* line = page.control(ids::kVerdict)) {
        line->setToolTip(stale ? QString::fromStdString(triage::staleText(lastGoodTime))
                               : QString());
    }
    if (QWidget* line = page.control(ids::kLimitsState)) {
        line->setToolTip(known ? QString::fromStdString(triage::limitsTip(judged.limits))
                               : QString());
    }
}
