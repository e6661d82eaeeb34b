// The device scan, shown in the page slot by the communication page's "搜索设备": every baud
// rate and address tried, the current settings first, one probe a timer tick, so the window
// keeps painting and "取消", "返回" or a tab switch stop it after the probe in flight. What
// answered is listed; "应用" hands the chosen device back to the communication page.
#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <vector>

#include "DeviceScan.h"
#include "Dialog.h"

class CScanDlg : public CDialog {
  public:
    explicit CScanDlg(QWidget* parent = nullptr);
    ~CScanDlg() override;

    // How the dialog is left: with the device "应用" chose, or with none ("返回").
    using Done = std::function<void(const std::optional<FoundDevice>&)>;
    void setDone(Done done) { m_done = std::move(done); }

    // Starts a new scan from the link settings as they are now.
    void startScan();
    bool scanning() const { return m_run != nullptr; }
    void onLeave() override;

  private:
    bool onInitDialog() override;
    void onTimer(int timerId) override;
    void onStart();
    void onStop();
    void onApply();
    void onBack();

    void showProgress();
    void listNewDevices();
    void stopScan(const char* status);
    void endScan();
    void enableButtons();

    std::unique_ptr<DeviceScanRun> m_run;
    std::vector<FoundDevice> m_found;
    Done m_done;

    static const MessageEntry<CScanDlg> kMessageMap[];
};
