// The rows of a record list: the decoded records themselves, formatted cell by cell only
// when the list shows them.
#pragma once

#include <vector>

#include "RecordDecoding.h"
#include "ReportList.h"

class RecordRows final : public ReportRows {
  public:
    explicit RecordRows(RecordKind kind) : m_kind(kind) {}

    int rowCount() const override { return static_cast<int>(m_records.size()); }
    std::string cellText(int row, int column) const override {
        return recordCellText(m_kind, m_records[static_cast<size_t>(row)], column);
    }
    void clear() override {
        m_records.clear();
        m_records.shrink_to_fit();  // a list of 65,535 records gives its memory back
    }

    void append(const StoredRecord& record) { m_records.push_back(record); }
    // Room for `more` records at once: a long read then never copies what it has read.
    void reserveMore(int more) {
        if (more > 0) {
            m_records.reserve(m_records.size() + static_cast<size_t>(more));
        }
    }

  private:
    RecordKind m_kind;
    std::vector<StoredRecord> m_records;
};
