// Record query page (tab "记录查询"): four buttons, each putting a record dialog in the
// page's place; every record dialog's "返回" puts the page back.
#pragma once

#include <functional>

#include "Dialog.h"

class CRecordPage;

class CRecordQueryPage : public CDialog {
  public:
    // Puts a window in the page slot of the window that holds the pages.
    using ShowInSlot = std::function<void(CDialog*)>;

    explicit CRecordQueryPage(QWidget* parent = nullptr);

    // The record dialogs the buttons show through `show`, each sent back here by its
    // "返回". A button whose dialog is null does nothing.
    void setRecordDialogs(ShowInSlot show, CRecordPage* voltage, CRecordPage* resistance,
                          CRecordPage* alarm, CRecordPage* curves);

  private:
    void OnVoltageRecords();
    void OnResistanceRecords();
    void OnAlarmRecords();
    void OnCurveRecords();
    void showRecords(CDialog* dialog);

    ShowInSlot m_show;
    CDialog* m_voltage = nullptr;
    CDialog* m_resistance = nullptr;
    CDialog* m_alarm = nullptr;
    CDialog* m_curves = nullptr;

    static const MessageEntry<CRecordQueryPage> kMessageMap[];
};
