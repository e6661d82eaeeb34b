// What the record dialogs share, written once: the record count read from the device, delete
// all, the streaming read, the range read with its checks, and a list that keeps the decoded
// records. Each dialog supplies only its data: registers, layout, time-outs and messages.
#pragma once

#include <cstdint>
#include <functional>
#include <vector>

#include "RecordDecoding.h"
#include "RecordPage.h"

class LongRead;
class RecordRows;
class RegisterLink;

struct RecordTimeouts {
    uint32_t positionMs = 1000;  // the write that says which record comes next
    uint32_t recordMs = 1000;    // each record window read
};

struct RecordDialogSpec {
    int templateId = 0;
    RecordKind kind = RecordKind::Voltage;
    const char* what = "";        // the records' name in the long-read box
    uint16_t countRegister = 0;   // read: the count; write 0: delete all. Positioning follows.
    uint16_t windowRegister = 0;  // the record window
    int listId = kNoId;
    int countEditId = kNoId;
    int startEditId = kNoId;  // the range edits; kNoId: no range read
    int endEditId = kNoId;
    std::vector<int> readButtons;  // enabled by a count read
    const char* refusal = "";      // any record operation while the count is 0
    const char* deleteOk = "";
    const char* deleteFailed = "";
    RecordTimeouts readAll;     // "读取全部记录"
    RecordTimeouts wholeRange;  // a range from 1 to the count
    RecordTimeouts partRange;   // any other range
    // A whole-range read tells a rejected record and reads on with the next one.
    bool wholeRangeReadsOn = false;
};

class CRecordDialog : public CRecordPage {
  public:
    CRecordDialog(const RecordDialogSpec& spec, QWidget* parent);
    ~CRecordDialog() override;

    int recordCount() const { return m_recordCount; }
    // A long read stops once the exchange in flight is over; what it read stays.
    void onLeave() override;

  protected:
    enum class OnRejected { Stop, ReadOn };

    bool onInitDialog() override;

    void OnReadCount();
    void OnDeleteAll();
    void OnReadAll();
    void OnReadRange();

    // Shows the refusal and returns true while there are no records to work on.
    bool refusedWithoutRecords();
    void clearRows();
    // Reads `count` records from the window on the open port, labelled from `first`. A
    // rejected record ends the read with "读取失败", or (ReadOn) is told and skipped.
    void readRecords(const RegisterLink& port, int first, int count, uint32_t timeoutMs,
                     OnRejected onRejected);

    // The records read (their rows), for a dialog that works on them.
    RecordRows& rows() const { return *m_rows; }
    // The rows were emptied or a read added to them (before any message about the read).
    virtual void onRowsChanged() {}

    int m_recordCount = 0;  // as last read from the device; only a count read changes it

  private:
    // Reads one record (its row added when accepted); false when it was rejected.
    bool readOneRecord(const RegisterLink& port, int number, uint32_t timeoutMs);

    const RecordDialogSpec& m_spec;
    RecordRows* m_rows = nullptr;  // owned by the list
    LongRead* m_read = nullptr;    // the long read under way, if any
};
