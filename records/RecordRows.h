// The rows of a record list: the decoded records themselves, formatted cell by cell only
// when the list shows them.
#pragma once

#include <vector>

#include "RecordDecoding.h"
#include "ReportList.h"

// What a dialog shows beside its records' own cells: columns after them, and colours. It
// may keep what it works out per row; rowsCleared() tells it that the rows are gone.
class RowExtras {
  public:
    virtual ~RowExtras() = default;
    virtual std::string extraText(int row, int extraColumn) const = 0;
    virtual std::optional<QColor> background(int row, int column) const = 0;
    virtual void rowsCleared() = 0;
};

class RecordRows final : public ReportRows {
  public:
    explicit RecordRows(RecordKind kind)
        : m_kind(kind), m_recordColumns(static_cast<int>(recordColumns(kind).size())) {}

    int rowCount() const override { return static_cast<int>(m_records.size()); }
    std::string cellText(int row, int column) const override {
        if (m_extras != nullptr && column >= m_recordColumns) {
            return m_extras->extraText(row, column - m_recordColumns);
        }
        return recordCellText(m_kind, m_records[static_cast<size_t>(row)], column);
    }
    std::optional<QColor> cellBackground(int row, int column) const override {
        return m_extras != nullptr ? m_extras->background(row, column) : std::nullopt;
    }
    void clear() override {
        m_records.clear();
        m_records.shrink_to_fit();  // a list of 65,535 records gives its memory back
        if (m_extras != nullptr) {
            m_extras->rowsCleared();
        }
    }

    void append(const StoredRecord& record) { m_records.push_back(record); }
    // Room for `more` records at once: a long read then never copies what it has read.
    void reserveMore(int more) {
        if (more > 0) {
            m_records.reserve(m_records.size() + static_cast<size_t>(more));
        }
    }
    const std::vector<StoredRecord>& records() const { return m_records; }
    // The extras outlive the rows, or are taken away first (null).
    void setExtras(RowExtras* extras) { m_extras = extras; }

  private:
    RecordKind m_kind;
    int m_recordColumns;
    std::vector<StoredRecord> m_records;
    RowExtras* m_extras = nullptr;
};
