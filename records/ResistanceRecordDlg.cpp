// Internal-resistance record dialog: the common record commands on registers 0x2000-0x2002.
// Its whole-range read alone goes on past a rejected record.
#include "ResistanceRecordDlg.h"

#include "DeviceRegisters.h"
#include "Strings.h"
#include "Templates.h"
#include "ids/RecordResistanceIds.h"

namespace ids = idc::resistance_records;

namespace {
const RecordDialogSpec kSpec{
    .templateId = IDD_RESISTANCE_RECORDS,
    .kind = RecordKind::Resistance,
    .what = "内阻记录",
    .countRegister = reg::kResistanceRecords,
    .windowRegister = reg::kResistanceWindow,
    .listId = ids::kList,
    .countEditId = ids::kCount,
    .startEditId = ids::kRangeStart,
    .endEditId = ids::kRangeEnd,
    .readButtons = {ids::kReadAll, ids::kReadRange},
    .refusal = kMsgNoResistanceRecords,
    .deleteOk = kMsgRecordsDeleted,
    .deleteFailed = kMsgCheckFailed,
    .readAll = {500, 500},
    .wholeRange = {1000, 500},
    .partRange = {1000, 1000},
    .wholeRangeReadsOn = true,
};
}  // namespace

CResistanceRecordDlg::CResistanceRecordDlg(QWidget* parent) : CRangeRecordDlg(kSpec, parent) {}
