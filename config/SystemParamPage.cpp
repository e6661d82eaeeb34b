// System parameter page. Each handler is one read or one write of its group's registers
// (pages/FormCommands), with the coding of config/ParamCoding.
#include "SystemParamPage.h"

#include <chrono>
#include <thread>

#include "DeviceRegisters.h"
#include "FormCommands.h"
#include "JudgeLimits.h"
#include "MessageBox.h"
#include "ParamRefusal.h"
#include "PasswordDlg.h"
#include "RegisterCoding.h"
#include "Strings.h"
#include "Templates.h"
#include "VisibleWait.h"
#include "ids/SystemParamIds.h"

namespace ids = idc::sysparam;
using P = CSystemParamPage;

const MessageEntry<P> P::kMessageMap[] = {
    {ids::kReadInfo, Notify::Clicked, &P::OnReadDeviceInfo},
    {ids::kReadIrInterval, Notify::Clicked, &P::OnReadIrInterval},
    {ids::kSetIrInterval, Notify::Clicked, &P::OnSetIrInterval},
    {ids::kReadSensorRange, Notify::Clicked, &P::OnReadSensorRange},
    {ids::kSetSensorRange, Notify::Clicked, &P::OnSetSensorRange},
    {ids::kReadClock, Notify::Clicked, &P::OnReadClock},
    {ids::kSetClock, Notify::Clicked, &P::OnSetClock},
    {ids::kReadIrMoment, Notify::Clicked, &P::OnReadIrMoment},
    {ids::kSetIrMoment, Notify::Clicked, &P::OnSetIrMoment},
    {ids::kReadIrLimit, Notify::Clicked, &P::OnReadIrLimit},
    {ids::kSetIrLimit, Notify::Clicked, &P::OnSetIrLimit},
    {ids::kReadCurrentLimit, Notify::Clicked, &P::OnReadCurrentLimit},
    {ids::kSetCurrentLimit, Notify::Clicked, &P::OnSetCurrentLimit},
    {ids::kReadTempLimits, Notify::Clicked, &P::OnReadTempLimits},
    {ids::kSetTempLimits, Notify::Clicked, &P::OnSetTempLimits},
    {ids::kReadVoltLimits, Notify::Clicked, &P::OnReadVoltLimits},
    {ids::kSetVoltLimits, Notify::Clicked, &P::OnSetVoltLimits},
    {ids::kReadRelay, Notify::Clicked, &P::OnReadRelayEnables},
    {ids::kSetRelay, Notify::Clicked, &P::OnSetRelayEnables},
    {ids::kReadVoltMask, Notify::Clicked, &P::OnReadVoltMask},
    {ids::kSetVoltMask, Notify::Clicked, &P::OnSetVoltMask},
    {ids::kReadIrMask, Notify::Clicked, &P::OnReadIrMask},
    {ids::kSetIrMask, Notify::Clicked, &P::OnSetIrMask},
    {ids::kReadTempMask, Notify::Clicked, &P::OnReadTempMask},
    {ids::kSetTempMask, Notify::Clicked, &P::OnSetTempMask},
    {ids::kVoltSelectAll, Notify::Clicked, &P::OnVoltSelectAll},
    {ids::kVoltSelectNone, Notify::Clicked, &P::OnVoltSelectNone},
    {ids::kIrSelectAll, Notify::Clicked, &P::OnIrSelectAll},
    {ids::kIrSelectNone, Notify::Clicked, &P::OnIrSelectNone},
    {ids::kTempSelectAll, Notify::Clicked, &P::OnTempSelectAll},
    {ids::kTempSelectNone, Notify::Clicked, &P::OnTempSelectNone},
    {ids::kReadStatus, Notify::Clicked, &P::OnReadAlarmStatus},
    {ids::kSetStatus, Notify::Clicked, &P::OnSetAlarmStatus},
    {ids::kFactoryMode, Notify::Clicked, &P::OnFactoryMode},
    {ids::kReadDischarge, Notify::Clicked, &P::OnReadDischargeCurrent},
    {ids::kSetDischarge, Notify::Clicked, &P::OnSetDischargeCurrent},
    {ids::kCalibType, Notify::SelChange, &P::OnCalibTypeChanged},
    {ids::kCalibrate, Notify::Clicked, &P::OnCalibrate},
};

namespace {
// Configuration registers.
using reg::kAlarmStatus;
using reg::kCalibration;
using reg::kClock;
using reg::kCurrentLimit;
using reg::kDeviceInfo;  // address, baud rate, version
using reg::kDischargeCurrent;
using reg::kIrInterval;
using reg::kIrLimit;
using reg::kIrMoment;
using reg::kRelayEnables;
using reg::kSensorRange;
using reg::kTempLimits;
using reg::kVoltLimits;

constexpr int kMaxCurrentLimit = 5000;
constexpr long long kVoltLimitCeiling = 255;  // 25.5 V in tenths: one byte each
constexpr const char* kAccessCode = "417293";
constexpr int kBatteryVoltageType = 0;
constexpr int kCalibrationSettleMs = 20000;  // the device measures before it answers

// What each register holds, in the units each check counts, with the page's captions.
constexpr long long kWordMax = 0xFFFF;
constexpr FieldRange kIrIntervalRange{"内阻自动测试时间间隔", 0, kWordMax, 1, "时"};
constexpr FieldRange kSensorRangeRange{"电流传感器量程", 0, kWordMax, 0.5, "A"};
constexpr FieldRange kIrLimitRange{"电池内阻上限报警阀值", 0, kWordMax, 0.1, "毫欧"};
constexpr FieldRange kTempUpperRange{"温度上限值", -127, 127, 1, "℃"};  // sign and 7 bits
constexpr FieldRange kTempLowerRange{"温度下限值", -127, 127, 1, "℃"};
constexpr FieldRange kVoltUpperRange{"电池电压上限", 0, kVoltLimitCeiling - 1, 0.1, "V"};
constexpr FieldRange kVoltLowerRange{"电池电压下限", 0, kVoltLimitCeiling - 1, 0.1, "V"};
constexpr FieldRange kDischargeRange{"内阻测试放电电流", 0, kWordMax / 100, 1, "A"};

// The first refusal among `checks`, or "" when every value fits.
std::string firstRefusal(std::initializer_list<std::pair<const FieldRange&, long long>> checks) {
    for (const auto& [range, value] : checks) {
        if (auto refusal = rangeRefusal(range, value)) {
            return *refusal;
        }
    }
    return {};
}

uint16_t word(long long high, long long low) {
    return static_cast<uint16_t>(((high & 0xFF) << 8) | (low & 0xFF));
}
uint16_t low16(long long value) {
    return static_cast<uint16_t>(value & 0xFFFF);
}
}  // namespace

const P::MaskGroup P::kVoltMask{ids::kVoltMask, reg::kVoltMask};
const P::MaskGroup P::kIrMask{ids::kIrMask, reg::kIrMask};
const P::MaskGroup P::kTempMask{ids::kTempMask, reg::kTempMask};

CSystemParamPage::CSystemParamPage(QWidget* parent)
    : CDialog(dialogTemplate(IDD_SYSTEM_PARAM), parent) {
    useMessageMap<P>(kMessageMap);
}

void CSystemParamPage::OnReadDeviceInfo() {
    readAndShow(*this, holding(kDeviceInfo, 3), [this](const Registers& r) {
        setInt(ids::kAddress, r[0]);
        setWindowText(ids::kBaud, formatText("%d", r[1]));  // a rate not listed changes nothing
        setWindowText(ids::kVersion, formatText("Ver%0.2f", r[2] * 0.01));
    });
}

void CSystemParamPage::OnReadIrInterval() {
    readAndShow(*this, holding(kIrInterval),
                [this](const Registers& r) { setInt(ids::kIrInterval, r[0]); });
}

void CSystemParamPage::OnSetIrInterval() {
    const int hours = intOf(ids::kIrInterval);
    writeAndReport(*this, writeOne(kIrInterval, low16(hours)),
                   firstRefusal({{kIrIntervalRange, hours}}));
}

void CSystemParamPage::OnReadSensorRange() {
    readAndShow(*this, holding(kSensorRange), [this](const Registers& r) {
        setWindowText(ids::kSensorRange, formatText("%.1f", r[0] * 0.5));
    });
}

void CSystemParamPage::OnSetSensorRange() {
    const long long halves = scaledOf(ids::kSensorRange, 2);
    writeAndReport(*this, writeOne(kSensorRange, low16(halves)),
                   firstRefusal({{kSensorRangeRange, halves}}));
}

void CSystemParamPage::OnReadClock() {
    readDateTime(false, kClock, ids::kClock);
}

void CSystemParamPage::OnSetClock() {
    setDateTime(kClock, ids::kClock, kClockCaption);
}

void CSystemParamPage::OnReadIrMoment() {
    readDateTime(true, kIrMoment, ids::kIrMoment);
}

void CSystemParamPage::OnSetIrMoment() {
    setDateTime(kIrMoment, ids::kIrMoment, kIrMomentCaption);
}

void CSystemParamPage::OnReadIrLimit() {
    readAndShow(*this, holding(kIrLimit), [this](const Registers& r) {
        rememberLimitRegister(kIrLimit, r[0]);
        setWindowText(ids::kIrLimit, formatText("%.1f", r[0] * 0.1));
    });
}

void CSystemParamPage::OnSetIrLimit() {
    const long long tenths = scaledOf(ids::kIrLimit, 10);
    writeAndReport(*this, writeOne(kIrLimit, low16(tenths)),
                   firstRefusal({{kIrLimitRange, tenths}}));
}

void CSystemParamPage::OnReadCurrentLimit() {
    readAndShow(*this, holding(kCurrentLimit), [this](const Registers& r) {
        rememberLimitRegister(kCurrentLimit, r[0]);
        setInt(ids::kCurrentLimit, r[0]);
    });
}

void CSystemParamPage::OnSetCurrentLimit() {
    const int amperes = intOf(ids::kCurrentLimit);
    const bool valid = amperes >= 1 && amperes <= kMaxCurrentLimit;
    writeAndReport(*this, writeOne(kCurrentLimit, low16(amperes)),
                   valid ? "" : kMsgCurrentLimitRange);
}

void CSystemParamPage::OnReadTempLimits() {
    readAndShow(*this, holding(kTempLimits), [this](const Registers& r) {
        rememberLimitRegister(kTempLimits, r[0]);
        setWindowText(ids::kTempUpper, tempLimitText(static_cast<uint8_t>(r[0] >> 8)));
        setWindowText(ids::kTempLower, tempLimitText(static_cast<uint8_t>(r[0] & 0xFF)));
    });
}

void CSystemParamPage::OnSetTempLimits() {
    const int upper = intOf(ids::kTempUpper);
    const int lower = intOf(ids::kTempLower);
    const std::string crossed =
        lower >= upper ? formatText(kMsgTempLimitsCrossed, lower, upper) : std::string();
    writeAndReport(*this,
                   writeOne(kTempLimits, word(encodeTempLimit(upper), encodeTempLimit(lower))),
                   firstRefusal({{kTempUpperRange, upper}, {kTempLowerRange, lower}}), crossed);
}

void CSystemParamPage::OnReadVoltLimits() {
    readAndShow(*this, holding(kVoltLimits), [this](const Registers& r) {
        rememberLimitRegister(kVoltLimits, r[0]);
        setWindowText(ids::kVoltUpper, formatText("%.1f", (r[0] >> 8) * 0.1));
        setWindowText(ids::kVoltLower, formatText("%.1f", (r[0] & 0xFF) * 0.1));
    });
}

void CSystemParamPage::OnSetVoltLimits() {
    const long long upper = scaledOf(ids::kVoltUpper, 10);
    const long long lower = scaledOf(ids::kVoltLower, 10);
    // At or above 25.5 V keeps its own message; below zero names the field.
    const bool belowCeiling = upper < kVoltLimitCeiling && lower < kVoltLimitCeiling;
    const std::string refusal =
        belowCeiling ? firstRefusal({{kVoltUpperRange, upper}, {kVoltLowerRange, lower}})
                     : std::string(kMsgVoltLimitRange);
    const std::string crossed = lower >= upper
                                    ? formatText(kMsgVoltLimitsCrossed, lower * 0.1, upper * 0.1)
                                    : std::string();
    writeAndReport(*this, writeOne(kVoltLimits, word(upper, lower)), refusal, crossed);
}

void CSystemParamPage::OnReadRelayEnables() {
    readAndShow(*this, holding(kRelayEnables),
                [this](const Registers& r) { showBits(ids::kRelayBits, r[0]); });
}

void CSystemParamPage::OnSetRelayEnables() {
    writeAndReport(*this, writeOne(kRelayEnables, bitsOf(ids::kRelayBits)));
}

void CSystemParamPage::OnReadAlarmStatus() {
    readAndShow(*this, holding(kAlarmStatus),
                [this](const Registers& r) { showBits(ids::kStatusBits, r[0]); });
}

void CSystemParamPage::OnSetAlarmStatus() {
    writeAndReport(*this, writeOne(kAlarmStatus, bitsOf(ids::kStatusBits)));
}

void CSystemParamPage::readDateTime(bool input, uint16_t start, std::span<const int> fields) {
    const RegisterBlock block = input ? inputs(start, 4) : holding(start, 4);
    readAndShow(*this, block, [this, fields](const Registers& r) {
        const auto texts = dateTimeTexts(r);
        for (size_t i = 0; i < fields.size() && i < texts.size(); ++i) {
            setWindowText(fields[i], texts[i]);
        }
    });
}

void CSystemParamPage::setDateTime(uint16_t start, std::span<const int> fields,
                                   const char* caption) {
    std::array<int, 6> values{};
    for (size_t i = 0; i < values.size() && i < fields.size(); ++i) {
        values[i] = intOf(fields[i]);
    }
    const auto fault = dateTimeFault(values);
    writeAndReport(*this, writeMany(start, encodeDateTime(values)),
                   fault ? dateTimeRefusal(caption, *fault) : std::string());
}

void CSystemParamPage::readMask(const MaskGroup& group) {
    readAndShow(*this, inputs(group.start, 3), [this, &group](const Registers& r) {
        const ChannelSet channels = decodeMask(r);
        for (size_t n = 0; n < group.boxes.size() && n < channels.size(); ++n) {
            setChecked(group.boxes[n], channels[n]);
        }
    });
}

void CSystemParamPage::setMask(const MaskGroup& group) {
    ChannelSet channels{};
    for (size_t n = 0; n < group.boxes.size() && n < channels.size(); ++n) {
        channels[n] = isChecked(group.boxes[n]);
    }
    writeAndReport(*this, writeMany(group.start, encodeMask(channels)));
}

void CSystemParamPage::selectAll(const MaskGroup& group, bool checked) {
    for (int box : group.boxes) {
        setChecked(box, checked);
    }
}

// The caption of the mode button is the mode: "工厂模式" in user mode, "用户模式" in factory
// mode.
void CSystemParamPage::OnFactoryMode() {
    std::this_thread::sleep_for(std::chrono::milliseconds(50));  // a short settle first
    const std::string caption = windowText(ids::kFactoryMode);
    if (caption == kFactoryModeCaption && askPassword()) {
        showFactoryControls(true);
    } else if (caption == kUserModeCaption) {
        showFactoryControls(false);
    }
}

bool CSystemParamPage::askPassword() {
    CPasswordDlg prompt(window());
    if (prompt.doModal() != IDOK) {
        return false;
    }
    if (prompt.password() != kAccessCode) {
        appMessageBox(kMsgWrongPassword);
        return false;
    }
    return true;
}

void CSystemParamPage::showFactoryControls(bool show) {
    setWindowText(ids::kFactoryMode, show ? kUserModeCaption : kFactoryModeCaption);
    for (int id : ids::kFactoryControls) {
        showControl(id, show);
    }
}

void CSystemParamPage::OnReadDischargeCurrent() {
    readAndShow(*this, holding(kDischargeCurrent),
                [this](const Registers& r) { setInt(ids::kDischarge, r[0] / 100); });
}

void CSystemParamPage::OnSetDischargeCurrent() {
    const int amperes = intOf(ids::kDischarge);
    writeAndReport(*this, writeOne(kDischargeCurrent, low16(100LL * amperes)),
                   firstRefusal({{kDischargeRange, amperes}}));
}

void CSystemParamPage::OnCalibTypeChanged() {
    static const char* const kRanges[][2] = {{"5V", "10V"}, {"2.5V", "5V"}};
    const int type = curSel(ids::kCalibType);
    if (type == 0 || type == 1) {
        resetContent(ids::kCalibRange);
        for (const char* range : kRanges[type]) {
            addString(ids::kCalibRange, range);
        }
    }
    setCurSel(ids::kCalibRange, 0);
}

// A battery-voltage calibration answers only after the device has measured for 20 s; the
// window counts them down meanwhile.
void CSystemParamPage::OnCalibrate() {
    PortSession port;
    if (!port) {
        return;
    }
    const int type = curSel(ids::kCalibType);
    const uint16_t command = word(type + 1, curSel(ids::kCalibRange) + 1);
    bool ok = false;
    if (type == kBatteryVoltageType) {
        VisibleWait wait(this, kWaitCalibration);
        ok = port.writeRegister(kCalibration, command, kDefaultTimeoutMs,
                                [&wait] { wait.sleepFor(kCalibrationSettleMs); });
    } else {
        ok = port.writeRegister(kCalibration, command);
    }
    messageBox(ok ? kMsgSetOk : kMsgSetFailed);
}

int CSystemParamPage::intOf(int id) const {
    return textToInt(windowText(id));
}

long long CSystemParamPage::scaledOf(int id, double factor) const {
    return scaleTruncate(textToDouble(windowText(id)), factor);
}

void CSystemParamPage::setInt(int id, int value) {
    setWindowText(id, formatText("%d", value));
}

uint16_t CSystemParamPage::bitsOf(std::span<const int> boxes) const {
    uint16_t bits = 0;
    for (size_t i = 0; i < boxes.size(); ++i) {
        if (isChecked(boxes[i])) {
            bits = static_cast<uint16_t>(bits | (1u << i));
        }
    }
    return bits;
}

void CSystemParamPage::showBits(std::span<const int> boxes, uint16_t value) {
    for (size_t i = 0; i < boxes.size(); ++i) {
        setChecked(boxes[i], ((value >> i) & 1) != 0);
    }
}
