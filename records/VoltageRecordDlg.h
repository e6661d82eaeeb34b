// Voltage records: the count, delete all, and the records of one chosen group (1-8), one
// row each with the 40 cell voltages.
#pragma once

#include "RecordDialog.h"

class CVoltageRecordDlg : public CRecordDialog {
  public:
    explicit CVoltageRecordDlg(QWidget* parent = nullptr);

  private:
    bool onInitDialog() override;
    void OnReadGroup();

    static const MessageEntry<CVoltageRecordDlg> kMessageMap[];
};
