// A record dialog whose records are read all at once or by a numbered range (alarm and
// internal-resistance records): the shared commands wired once; each dialog gives its data.
#pragma once

#include "RecordDialog.h"

class CRangeRecordDlg : public CRecordDialog {
  protected:
    CRangeRecordDlg(const RecordDialogSpec& spec, QWidget* parent);

  private:
    static const MessageEntry<CRangeRecordDlg> kMessageMap[];
};
