// Alarm record dialog: the common record commands on registers 0x2100-0x2102.
#include "AlarmRecordDlg.h"

#include "DeviceRegisters.h"
#include "Strings.h"
#include "Templates.h"
#include "ids/RecordAlarmIds.h"

namespace ids = idc::alarm_records;

namespace {
const RecordDialogSpec kSpec{
    .templateId = IDD_ALARM_RECORDS,
    .kind = RecordKind::Alarm,
    .what = "报警记录",
    .countRegister = reg::kAlarmRecords,
    .windowRegister = reg::kAlarmWindow,
    .listId = ids::kList,
    .countEditId = ids::kCount,
    .startEditId = ids::kRangeStart,
    .endEditId = ids::kRangeEnd,
    .readButtons = {ids::kReadAll, ids::kReadRange},
    .refusal = kMsgNoAlarmRecords,
    .deleteOk = kMsgAlarmRecordsDeleted,
    .deleteFailed = kMsgOperationFailed,
    .readAll = {500, 1000},
    .wholeRange = {500, 500},
    .partRange = {500, 500},
    .wholeRangeReadsOn = false,
};
}  // namespace

CAlarmRecordDlg::CAlarmRecordDlg(QWidget* parent) : CRangeRecordDlg(kSpec, parent) {}
