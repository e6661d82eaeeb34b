// Alarm records: the count, delete all, all records or a numbered range, one row each with
// the alarm kind and the 40 channel values of the moment.
#pragma once

#include "RangeRecordDlg.h"

class CAlarmRecordDlg : public CRangeRecordDlg {
  public:
    explicit CAlarmRecordDlg(QWidget* parent = nullptr);
};
