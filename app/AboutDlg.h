// The About box.
#pragma once

#include "Dialog.h"

class CAboutDlg : public CDialog {
  public:
    explicit CAboutDlg(QWidget* parent = nullptr);

  private:
    bool onInitDialog() override;
};
