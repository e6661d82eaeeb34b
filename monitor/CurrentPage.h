// Total current page: one button reads the bank current once.
#pragma once

#include "Dialog.h"

class CCurrentPage : public CDialog {
  public:
    explicit CCurrentPage(QWidget* parent = nullptr);

  private:
    void onReadCurrent();

    static const MessageEntry<CCurrentPage> kMessageMap[];
};
