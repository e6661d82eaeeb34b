// System parameter page: a form over the device's configuration registers. Every group has
// its own "读取" and "设置"; nothing is read until the operator asks. Factory mode, behind a
// password, shows the discharge current and the calibration.
#pragma once

#include <cstdint>
#include <span>

#include "Dialog.h"

class CSystemParamPage : public CDialog {
  public:
    explicit CSystemParamPage(QWidget* parent = nullptr);

  private:
    // One alarm channel mask: its 40 check boxes in channel order and its first register.
    struct MaskGroup {
        std::span<const int> boxes;
        uint16_t start;
    };

    void OnReadDeviceInfo();
    void OnReadIrInterval();
    void OnSetIrInterval();
    void OnReadSensorRange();
    void OnSetSensorRange();
    void OnReadClock();
    void OnSetClock();
    void OnReadIrMoment();
    void OnSetIrMoment();
    void OnReadIrLimit();
    void OnSetIrLimit();
    void OnReadCurrentLimit();
    void OnSetCurrentLimit();
    void OnReadTempLimits();
    void OnSetTempLimits();
    void OnReadVoltLimits();
    void OnSetVoltLimits();
    void OnReadRelayEnables();
    void OnSetRelayEnables();
    void OnReadVoltMask() { readMask(kVoltMask); }
    void OnSetVoltMask() { setMask(kVoltMask); }
    void OnReadIrMask() { readMask(kIrMask); }
    void OnSetIrMask() { setMask(kIrMask); }
    void OnReadTempMask() { readMask(kTempMask); }
    void OnSetTempMask() { setMask(kTempMask); }
    void OnVoltSelectAll() { selectAll(kVoltMask, true); }
    void OnVoltSelectNone() { selectAll(kVoltMask, false); }
    void OnIrSelectAll() { selectAll(kIrMask, true); }
    void OnIrSelectNone() { selectAll(kIrMask, false); }
    void OnTempSelectAll() { selectAll(kTempMask, true); }
    void OnTempSelectNone() { selectAll(kTempMask, false); }
    void OnReadAlarmStatus();
    void OnSetAlarmStatus();
    void OnFactoryMode();
    void OnReadDischargeCurrent();
    void OnSetDischargeCurrent();
    void OnCalibTypeChanged();
    void OnCalibrate();

    void readDateTime(bool input, uint16_t start, std::span<const int> fields);
    void setDateTime(uint16_t start, std::span<const int> fields, const char* caption);
    void readMask(const MaskGroup& group);
    void setMask(const MaskGroup& group);
    void selectAll(const MaskGroup& group, bool checked);
    bool askPassword();
    void showFactoryControls(bool show);

    int intOf(int id) const;
    long long scaledOf(int id, double factor) const;
    void setInt(int id, int value);
    uint16_t bitsOf(std::span<const int> boxes) const;
    void showBits(std::span<const int> boxes, uint16_t value);

    static const MaskGroup kVoltMask;
    static const MaskGroup kIrMask;
    static const MaskGroup kTempMask;
    static const MessageEntry<CSystemParamPage> kMessageMap[];
};
