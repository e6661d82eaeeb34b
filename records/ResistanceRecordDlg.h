// Internal-resistance records: the count, delete all, all records or a numbered range, one
// row each with the resistances of the 40 cells at one test.
#pragma once

#include "RecordDialog.h"

class CResistanceRecordDlg : public CRecordDialog {
  public:
    explicit CResistanceRecordDlg(QWidget* parent = nullptr);

  private:
    static const MessageEntry<CResistanceRecordDlg> kMessageMap[];
};
