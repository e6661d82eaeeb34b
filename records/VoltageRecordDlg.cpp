// Voltage record dialog: the common count and delete on register 0x1200, and the group read:
// choose the group, read its size, then stream its records.
#include "VoltageRecordDlg.h"

#include "DeviceRegisters.h"
#include "DialogPort.h"
#include "RegisterCoding.h"
#include "Strings.h"
#include "Templates.h"
#include "ids/RecordVoltageIds.h"

namespace ids = idc::voltage_records;
using D = CVoltageRecordDlg;

const MessageEntry<D> D::kMessageMap[] = {
    {ids::kReadCount, Notify::Clicked, &D::OnReadCount},
    {ids::kDeleteAll, Notify::Clicked, &D::OnDeleteAll},
    {ids::kReadGroup, Notify::Clicked, &D::OnReadGroup},
    {ids::kBack, Notify::Clicked, &D::OnBack},
};

namespace {

constexpr uint16_t kGroupRegister = reg::kVoltageGroup;
constexpr uint16_t kGroupSizeRegister = reg::kVoltageGroupSize;
constexpr uint32_t kGroupTimeoutMs = 1000;
constexpr uint32_t kGroupSizeTimeoutMs = 500;
constexpr uint32_t kRecordTimeoutMs = 1000;

const RecordDialogSpec kSpec{
    .templateId = IDD_VOLTAGE_RECORDS,
    .kind = RecordKind::Voltage,
    .what = "电压记录",
    .countRegister = reg::kVoltageRecords,
    .windowRegister = reg::kVoltageWindow,
    .listId = ids::kList,
    .countEditId = ids::kCount,
    .readButtons = {ids::kReadGroup},
    .refusal = kMsgNoVoltageRecords,
    .deleteOk = kMsgRecordsDeleted,
    .deleteFailed = kMsgCheckFailed,
    // Voltage records are read by group only (OnReadGroup).
    .readAll = {},
    .wholeRange = {},
    .partRange = {},
    .wholeRangeReadsOn = false,
};

}  // namespace

CVoltageRecordDlg::CVoltageRecordDlg(QWidget* parent) : CRecordDialog(kSpec, parent) {
    useMessageMap<D>(kMessageMap);
}

bool CVoltageRecordDlg::onInitDialog() {
    CRecordDialog::onInitDialog();
    setCurSel(ids::kGroup, 0);
    return true;
}

// A group's size is not checked against the count: the device says how many it holds.
void CVoltageRecordDlg::OnReadGroup() {
    const int group = curSel(ids::kGroup) + 1;
    if (refusedWithoutRecords()) {
        return;
    }
    clearRows();  // before the port: a failed open must not leave another group's rows
    DialogPortSession port(*this);
    if (!port) {
        return;
    }
    if (!port.writeRegister(kGroupRegister, static_cast<uint16_t>(group), kGroupTimeoutMs)) {
        messageBox(kMsgGroupCheckError);
        return;
    }
    const auto size = port.readHolding(kGroupSizeRegister, 1, kGroupSizeTimeoutMs);
    if (!size) {
        setWindowText(ids::kGroupSize, kGroupSizeFailed);
        return;
    }
    const int records = (*size)[0];
    setWindowText(ids::kGroupSize, formatText("%d", records));
    readRecords(port, 1, records, kRecordTimeoutMs, OnRejected::Stop);
}
