// Internal-resistance records: the count, delete all, all records or a numbered range, one
// row each with the resistances of the 40 cells at one test.
#pragma once

#include "RangeRecordDlg.h"

class CResistanceRecordDlg : public CRangeRecordDlg {
  public:
    explicit CResistanceRecordDlg(QWidget* parent = nullptr);
};
