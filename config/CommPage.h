// Communication settings page: port, baud rate and device address for every later command.
#pragma once

#include <functional>

#include "Dialog.h"

class CScanDlg;
struct FoundDevice;

class CCommPage : public CDialog {
  public:
    explicit CCommPage(QWidget* parent = nullptr);

    // The scan "搜索设备" shows in the page slot through `showInSlot`; it comes back here.
    void setScanDialog(std::function<void(CDialog*)> showInSlot, CScanDlg* scan);
    // Puts a device the scan found into the baud rate and the address, and so into the link
    // settings.
    void applyFound(const FoundDevice& device);

  private:
    bool onInitDialog() override;
    void onPortChanged();
    void onBaudChanged();
    void onAddressChanged();
    void onSearch();

    std::function<void(CDialog*)> m_showInSlot;
    CScanDlg* m_scan = nullptr;

    static const MessageEntry<CCommPage> kMessageMap[];
};
