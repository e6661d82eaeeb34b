// Communication settings page: port, baud rate and device address for every later command.
#pragma once

#include "Dialog.h"

class CCommPage : public CDialog {
  public:
    explicit CCommPage(QWidget* parent = nullptr);

  private:
    bool onInitDialog() override;
    void onPortChanged();
    void onBaudChanged();
    void onAddressChanged();

    static const MessageEntry<CCommPage> kMessageMap[];
};
