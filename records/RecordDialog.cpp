// The record dialogs' common commands. Each opens the port itself, runs its exchanges on that
// one opening and closes it on every path; input is checked after the port is open.
#include "RecordDialog.h"

#include <chrono>
#include <memory>
#include <optional>
#include <thread>

#include "DevicePort.h"
#include "DialogPort.h"
#include "LongRead.h"
#include "RecordCsv.h"
#include "RecordRows.h"
#include "RegisterCoding.h"
#include "ReportList.h"
#include "Strings.h"
#include "Templates.h"

namespace {

constexpr uint32_t kCountTimeoutMs = 1000;
constexpr uint32_t kDeleteTimeoutMs = 1000;
// "读取全部记录" lets the device settle before it positions the window.
constexpr auto kReadAllPause = std::chrono::milliseconds(50);
// A read that goes on past rejected records stops when this many come one after the other:
// the device or the line is gone, and one box per record would never end.
constexpr int kMaxRejectedInARow = 10;
constexpr int kTimeColumn = 1;
// Every field at its widest; the digits of the fonts used are all of one width.
constexpr const char* kWidestTimeStamp = "2024/12/27/10/29/53";

// "导出CSV..." in the list's context menu, run as a command like any button's.
void addExportEntry(CDialog& dialog, CReportList& list, RecordKind kind, const char* what) {
    list.addContextAction(kExportCsvCaption, [&dialog, &list, kind, what] {
        dialog.runHandler([&] { exportRecordListAsUser(dialog, list, kind, what); });
    });
}

}  // namespace

CRecordDialog::CRecordDialog(const RecordDialogSpec& spec, QWidget* parent)
    : CRecordPage(dialogTemplate(spec.templateId), parent), m_spec(spec) {}

CRecordDialog::~CRecordDialog() = default;

bool CRecordDialog::onInitDialog() {
    CReportList* list = reportList(m_spec.listId);
    for (const RecordColumn& column : recordColumns(m_spec.kind)) {
        list->insertColumn(list->columnCount(), column.heading, column.widthPx);
    }
    // The time column's width is the one for the Windows font; here the text decides.
    list->widenColumnToText(kTimeColumn, kWidestTimeStamp);
    auto rows = std::make_unique<RecordRows>(m_spec.kind);
    m_rows = rows.get();
    list->setRows(std::move(rows));
    addExportEntry(*this, *list, m_spec.kind, m_spec.what);
    if (m_spec.startEditId != kNoId) {
        setWindowText(m_spec.startEditId, "1");
    }
    return true;
}

void CRecordDialog::onLeave() {
    if (m_read != nullptr) {
        m_read->requestStop();
    }
}

void CRecordDialog::OnReadCount() {
    PortSession port;
    if (!port) {
        return;
    }
    const auto count = port.readHolding(m_spec.countRegister, 1, kCountTimeoutMs);
    if (!count) {
        messageBox(kMsgReadFailed);
        return;
    }
    m_recordCount = (*count)[0];
    const std::string text = formatText("%d", m_recordCount);
    setWindowText(m_spec.countEditId, text);
    if (m_spec.endEditId != kNoId) {
        setWindowText(m_spec.endEditId, text);
    }
    for (int id : m_spec.readButtons) {
        enableControl(id, true);
    }
}

// The count and the rows stay as they are: the operator reads the count again.
void CRecordDialog::OnDeleteAll() {
    if (refusedWithoutRecords()) {
        return;
    }
    PortSession port;
    if (!port) {
        return;
    }
    const bool deleted = port.writeRegister(m_spec.countRegister, 0, kDeleteTimeoutMs);
    messageBox(deleted ? m_spec.deleteOk : m_spec.deleteFailed);
}

void CRecordDialog::OnReadAll() {
    if (refusedWithoutRecords()) {
        return;
    }
    clearRows();
    PortSession port;
    if (!port) {
        return;
    }
    std::this_thread::sleep_for(kReadAllPause);
    const uint16_t position = m_spec.countRegister + 1;
    if (!port.writeRegister(position, 1, m_spec.readAll.positionMs)) {
        messageBox(kMsgReadFailed);
        return;
    }
    readRecords(port, 1, m_recordCount, m_spec.readAll.recordMs, OnRejected::Stop);
}

// The rows go first; the checks run in this order once the port is open, and each refusal
// closes it again before anything is sent.
void CRecordDialog::OnReadRange() {
    if (refusedWithoutRecords()) {
        return;
    }
    clearRows();
    DialogPortSession port(*this);
    if (!port) {
        return;
    }
    const std::string startText = windowText(m_spec.startEditId);
    if (startText.empty()) {
        messageBox(kMsgRangeStartEmpty);
        return;
    }
    const int start = textToInt(startText);
    const int end = textToInt(windowText(m_spec.endEditId));
    if (start < 0) {  // no record has a negative number, and 16 bits could not carry it
        messageBox(kMsgRangeStartEmpty);
        return;
    }
    if (start > m_recordCount) {
        messageBox(kMsgRangeStartOverCount);
        return;
    }
    if (end > m_recordCount || end < start) {
        messageBox(kMsgRangeEndInvalid);
        return;
    }
    const bool whole = start == 1 && end == m_recordCount;
    const RecordTimeouts& timeouts = whole ? m_spec.wholeRange : m_spec.partRange;
    const uint16_t position = m_spec.countRegister + 1;
    if (!port.writeRegister(position, static_cast<uint16_t>(start), timeouts.positionMs)) {
        messageBox(kMsgRangePositionFailed);
        return;
    }
    const bool readOn = whole && m_spec.wholeRangeReadsOn;
    readRecords(port, start, end - start + 1, timeouts.recordMs,
                readOn ? OnRejected::ReadOn : OnRejected::Stop);
}

bool CRecordDialog::refusedWithoutRecords() {
    if (m_recordCount != 0) {
        return false;
    }
    messageBox(m_spec.refusal);
    return true;
}

void CRecordDialog::clearRows() {
    reportList(m_spec.listId)->deleteAllItems();
    onRowsChanged();
}

bool CRecordDialog::readOneRecord(const RegisterLink& port, int number, uint32_t timeoutMs) {
    const auto bytes =
        port.readHoldingBytes(m_spec.windowRegister, recordRegisterCount(m_spec.kind), timeoutMs);
    const auto record = bytes ? decodeRecord(m_spec.kind, *bytes, number) : std::nullopt;
    if (record) {
        m_rows->append(*record);
    }
    return record.has_value();
}

void CRecordDialog::readRecords(const RegisterLink& port, int first, int count, uint32_t timeoutMs,
                                OnRejected onRejected) {
    enum class End { Read, StoppedAtRejected, TooManyRejected } end = End::Read;
    int rejectedInARow = 0;
    m_rows->reserveMore(count);
    {
        LongRead read(this, *reportList(m_spec.listId), m_spec.what, count,
                      recordReplyLength(m_spec.kind));
        ReadInProgress inProgress(m_read, read);
        for (int i = 0; i < count && !read.stopRequested(); ++i) {
            const bool accepted = readOneRecord(port, first + i, timeoutMs);
            read.recordDone();
            if (accepted) {
                rejectedInARow = 0;
            } else if (onRejected == OnRejected::Stop) {
                end = End::StoppedAtRejected;
                break;
            } else {
                read.showRows();
                messageBox(kMsgReadFailed);
                if (++rejectedInARow == kMaxRejectedInARow && i + 1 < count) {
                    end = End::TooManyRejected;
                    break;
                }
            }
        }
    }  // the box goes and the last rows show before any message
    onRowsChanged();
    if (end == End::StoppedAtRejected) {
        messageBox(kMsgReadFailed);
    } else if (end == End::TooManyRejected) {
        messageBox(formatText(kMsgRejectedInARow, kMaxRejectedInARow));
    }
}
