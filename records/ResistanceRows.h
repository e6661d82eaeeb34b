// The judging the resistance record lists show: in the record list each row's cells
// coloured by their change and the row's worst change in a column of its own, the baseline
// row marked; in the change list the chosen record against its reference, cell by cell.
#pragma once

#include <array>
#include <cstdint>
#include <map>
#include <optional>

#include "RecordRows.h"
#include "ResistanceChange.h"

// Backgrounds of the change bands and of the baseline row.
QColor warningColor();
QColor failureColor();
QColor baselineColor();

// The extras of the record list. What a row's judgement is follows judgeState() at the
// time it is worked out: judgeAgain() after the baseline or the thresholds changed.
class ResistanceJudging final : public RowExtras {
  public:
    explicit ResistanceJudging(const RecordRows& rows) : m_rows(rows) {}

    std::string extraText(int row, int extraColumn) const override;
    std::optional<QColor> background(int row, int column) const override;
    void rowsCleared() override { m_judged.clear(); }
    void judgeAgain() { m_judged.clear(); }

  private:
    struct Judgement {
        bool baseline = false;
        std::array<uint8_t, kRecordChannels> bands{};  // analysis::Band of each cell
        std::optional<WorstChange> worst;
    };
    const Judgement& judgement(int row) const;

    const RecordRows& m_rows;
    // Only rows the view has asked for, and never more than a screenful or so many times.
    mutable std::map<int, Judgement> m_judged;
};

// The change list: the reference, the chosen record and each cell's change, coloured.
class ChangeRows final : public ReportRows {
  public:
    // Shows `record` against the baseline (or its median); nothing without a record.
    void show(const std::optional<StoredRecord>& record);

    int rowCount() const override { return m_record ? 3 : 0; }
    std::string cellText(int row, int column) const override;
    std::optional<QColor> cellBackground(int row, int column) const override;
    void clear() override { m_record.reset(); }

  private:
    std::optional<StoredRecord> m_record;
    std::optional<ResistanceBaseline> m_baseline;
    analysis::ChangeReport m_change;
};
