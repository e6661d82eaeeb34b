// Colours and change texts of the resistance record lists, worked out when the view asks.
#include "ResistanceRows.h"

#include "Strings.h"

namespace {

constexpr int kLabelColumn = 0;
constexpr int kTimeColumn = 1;
constexpr int kFirstCellColumn = 2;  // channel 1
// A screenful is some thirty rows; a list scrolled through its 65,535 keeps no more.
constexpr size_t kMaxJudgedRows = 4096;

std::optional<QColor> bandColor(analysis::Band band) {
    switch (band) {
        case analysis::Band::Warning:
            return warningColor();
        case analysis::Band::OverLimit:
            return failureColor();
        default:
            return std::nullopt;
    }
}

// The channel (0-based) a list column shows; nullopt for the columns before them.
std::optional<size_t> cellOfColumn(int column) {
    const int cell = column - kFirstCellColumn;
    if (cell < 0 || cell >= kRecordChannels) {
        return std::nullopt;
    }
    return static_cast<size_t>(cell);
}

}  // namespace

QColor warningColor() {
    return {255, 225, 130};
}

QColor failureColor() {
    return {255, 150, 150};
}

QColor baselineColor() {
    return {185, 215, 255};
}

const ResistanceJudging::Judgement& ResistanceJudging::judgement(int row) const {
    if (const auto found = m_judged.find(row); found != m_judged.end()) {
        return found->second;
    }
    if (m_judged.size() >= kMaxJudgedRows) {
        m_judged.clear();
    }
    const StoredRecord& record = m_rows.records()[static_cast<size_t>(row)];
    const JudgeState& state = judgeState();
    Judgement j;
    j.baseline = isBaselineRecord(record, state.baseline);
    const analysis::ChangeReport change = changeOf(record, state.baseline, state.trend);
    for (size_t k = 0; k < j.bands.size() && k < change.cells.size(); ++k) {
        j.bands[k] = static_cast<uint8_t>(change.cells[k].band);
    }
    j.worst = worstChange(change);
    return m_judged.emplace(row, j).first->second;
}

std::string ResistanceJudging::extraText(int row, int extraColumn) const {
    if (extraColumn != 0) {
        return "";
    }
    const Judgement& j = judgement(row);
    return j.baseline ? kChangeBaselineRow : worstChangeText(j.worst);
}

std::optional<QColor> ResistanceJudging::background(int row, int column) const {
    const Judgement& j = judgement(row);
    if (column == kLabelColumn || column == kTimeColumn) {
        return j.baseline ? std::optional<QColor>(baselineColor()) : std::nullopt;
    }
    if (j.baseline) {
        return std::nullopt;  // the baseline against itself says nothing
    }
    if (const auto cell = cellOfColumn(column)) {
        return bandColor(static_cast<analysis::Band>(j.bands[*cell]));
    }
    return j.worst ? bandColor(j.worst->band) : std::nullopt;
}

void ChangeRows::show(const std::optional<StoredRecord>& record) {
    m_record = record;
    m_baseline = judgeState().baseline;
    m_change =
        record ? changeOf(*record, m_baseline, judgeState().trend) : analysis::ChangeReport{};
}

std::string ChangeRows::cellText(int row, int column) const {
    if (!m_record) {
        return "";
    }
    const auto cell = cellOfColumn(column);
    switch (row) {
        case 0:  // what the record is measured against
            if (column == kLabelColumn) {
                return m_baseline ? kChangeBaselineRow : kChangeMedianRow;
            }
            if (column == kTimeColumn) {
                return m_baseline ? m_baseline->label : "";
            }
            if (!cell) {
                return "";
            }
            if (m_baseline && m_baseline->record.cells[*cell]) {
                return referenceText(m_baseline->record.cells[*cell]);
            }
            return referenceText(m_change.stringMedian);
        case 1:
            return recordCellText(RecordKind::Resistance, *m_record, column);
        default:
            if (column == kLabelColumn) {
                return kChangeRow;
            }
            if (column == kTimeColumn) {
                return worstChangeText(worstChange(m_change));
            }
            return cell && *cell < m_change.cells.size()
                       ? changeText(m_change.cells[*cell], m_baseline.has_value())
                       : "";
    }
}

std::optional<QColor> ChangeRows::cellBackground(int row, int column) const {
    if (row == 0 && m_baseline && column <= kTimeColumn) {
        return baselineColor();
    }
    if (row != 2) {
        return std::nullopt;
    }
    const auto cell = cellOfColumn(column);
    if (cell && *cell < m_change.cells.size()) {
        return bandColor(m_change.cells[*cell].band);
    }
    if (column == kTimeColumn) {
        const auto worst = worstChange(m_change);
        return worst ? bandColor(worst->band) : std::nullopt;
    }
    return std::nullopt;
}
