// The commands of a record dialog that reads all records or a range: count, read all, read
// the range, delete all and back.
#include "RangeRecordDlg.h"

#include "ids/RecordCommandIds.h"

namespace ids = idc::record_commands;
using D = CRangeRecordDlg;

const MessageEntry<D> D::kMessageMap[] = {
    {ids::kReadCount, Notify::Clicked, &D::OnReadCount},
    {ids::kReadAll, Notify::Clicked, &D::OnReadAll},
    {ids::kReadRange, Notify::Clicked, &D::OnReadRange},
    {ids::kDeleteAll, Notify::Clicked, &D::OnDeleteAll},
    {ids::kBack, Notify::Clicked, &D::OnBack},
};

CRangeRecordDlg::CRangeRecordDlg(const RecordDialogSpec& spec, QWidget* parent)
    : CRecordDialog(spec, parent) {
    useMessageMap<D>(kMessageMap);
}
