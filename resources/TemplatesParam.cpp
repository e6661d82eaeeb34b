// Templates of the system parameter page and its password dialog. The page stands in two
// columns: the device's settings and thresholds on the left, the alarm channel masks and
// the alarm status on the right; the factory rows at the bottom left start hidden.
#include <span>

#include "Strings.h"
#include "Templates.h"
#include "ids/SystemParamIds.h"

using namespace tpl;
namespace ids = idc::sysparam;

namespace {

enum Box {
    kIdentityBox = 1,
    kIntervalBox,
    kRangeBox,
    kClockBox,
    kMomentBox,
    kIrLimitBox,
    kCurrentLimitBox,
    kLimitsBox,
    kRelayBox,
    kDischargeBox,
    kCalibBox,
    kVoltMaskBox,
    kIrMaskBox,
    kTempMaskBox,
    kStatusBox,
};

constexpr int kLeft = 0;         // the left column spans grid columns 0 and 1
constexpr int kRight = 2;        // the right column
constexpr int kDigits = 3;       // width of a date or time field
constexpr int kMaskColumns = 8;  // one row a mask byte: channels 1-8, 9-16, ...

std::vector<ButtonSpec> readSet(int read, int set) {
    return {{read, kReadCaption}, {set, kSetCaption}};
}

// Year, month, day, hour, minute, second, each followed by its unit.
std::vector<ControlTemplate> dateRow(std::span<const int> fields, int read, int set, int box) {
    static const char* const units[] = {"年", "月", "日", "时", "分", "秒"};
    std::vector<FieldSpec> specs;
    for (std::size_t i = 0; i < fields.size(); ++i) {
        specs.push_back(narrow(editField("", fields[i], units[i]), i == 0 ? 2 * kDigits : kDigits));
    }
    return fieldRow(specs, readSet(read, set), 0, box);
}

std::vector<std::string> checkCaptions(const char* prefix, int count) {
    std::vector<std::string> captions;
    for (int i = 1; i <= count; ++i) {
        captions.push_back(prefix + std::to_string(i));
    }
    return captions;
}

struct MaskGroup {
    const char* caption;
    Box box;
    int row;
    std::span<const int> boxes;
    int selectAll;
    int selectNone;
    int read;
    int set;
};

// The 40 boxes in rows of eight (one mask byte a row), the buttons below them.
void addMask(DialogTemplate& t, const MaskGroup& m) {
    t.add({group(kNoId, m.box, m.caption, {m.row, kRight, 3, 1})});
    t.add(checkGrid(m.boxes, checkCaptions("电池#", 40), kMaskColumns, 0, m.box));
    const int buttons = 40 / kMaskColumns;
    t.add({
        control(ControlKind::RadioButton, m.selectAll, "全选", {buttons, 0}, m.box, kGroupStart),
        control(ControlKind::RadioButton, m.selectNone, "全不选", {buttons, 1}, m.box),
        control(ControlKind::PushButton, m.read, kReadCaption, {buttons, kMaskColumns - 2}, m.box),
        control(ControlKind::PushButton, m.set, kSetCaption, {buttons, kMaskColumns - 1}, m.box),
    });
}

void addSettings(DialogTemplate& t) {
    t.add({group(kNoId, kIdentityBox, "", {0, kLeft, 1, 2})});
    t.add(fieldRow({narrow(editField("设备地址", ids::kAddress), kDigits),
                    listField("设备波特率", ids::kBaud, {"1200", "2400", "4800", "9600", "19200"}),
                    narrow(editField("设备版本号", ids::kVersion), 2 * kDigits)},
                   {{ids::kReadInfo, kReadCaption}}, 0, kIdentityBox));
    t.add({group(kNoId, kIntervalBox, "内阻自动测试时间间隔", {1, kLeft})});
    t.add(editRow("", ids::kIrInterval, "时", readSet(ids::kReadIrInterval, ids::kSetIrInterval), 0,
                  kIntervalBox));
    t.add({group(kNoId, kRangeBox, "电流传感器量程", {1, kLeft + 1})});
    t.add(editRow("", ids::kSensorRange, "A", readSet(ids::kReadSensorRange, ids::kSetSensorRange),
                  0, kRangeBox));
    t.add({group(kNoId, kClockBox, "系统时间", {2, kLeft, 1, 2})});
    t.add(dateRow(ids::kClock, ids::kReadClock, ids::kSetClock, kClockBox));
    t.add({group(kNoId, kMomentBox, "指定内阻采样时刻", {3, kLeft, 1, 2})});
    t.add(dateRow(ids::kIrMoment, ids::kReadIrMoment, ids::kSetIrMoment, kMomentBox));
}

void addThresholds(DialogTemplate& t) {
    t.add({group(kNoId, kIrLimitBox, "电池内阻上限报警阀值", {4, kLeft})});
    t.add(editRow("", ids::kIrLimit, "毫欧", readSet(ids::kReadIrLimit, ids::kSetIrLimit), 0,
                  kIrLimitBox));
    t.add({group(kNoId, kCurrentLimitBox, "总电流上限报警阀值", {4, kLeft + 1})});
    t.add(editRow("", ids::kCurrentLimit, "A",
                  readSet(ids::kReadCurrentLimit, ids::kSetCurrentLimit), 0, kCurrentLimitBox));
    t.add({group(kNoId, kLimitsBox, "", {5, kLeft, 1, 2})});
    t.add(fieldRow({narrow(editField("温度上限值", ids::kTempUpper, "℃"), 2 * kDigits),
                    narrow(editField("温度下限值", ids::kTempLower, "℃"), 2 * kDigits)},
                   readSet(ids::kReadTempLimits, ids::kSetTempLimits), 0, kLimitsBox));
    t.add(fieldRow({narrow(editField("电池电压上限", ids::kVoltUpper, "V"), 2 * kDigits),
                    narrow(editField("电池电压下限", ids::kVoltLower, "V"), 2 * kDigits)},
                   readSet(ids::kReadVoltLimits, ids::kSetVoltLimits), 1, kLimitsBox));
    t.add({group(kNoId, kRelayBox, "可编程继电器报警配置", {6, kLeft, 1, 2})});
    t.add(checkGrid(ids::kRelayBits,
                    {"温度上限报警使能位", "温度下限报警使能位", "电压上限报警使能位",
                     "电压下限报警使能位", "内阻上限报警使能位", "总电流上限报警使能位"},
                    3, 0, kRelayBox));
    t.add({control(ControlKind::PushButton, ids::kReadRelay, kReadCaption, {0, 3}, kRelayBox),
           control(ControlKind::PushButton, ids::kSetRelay, kSetCaption, {1, 3}, kRelayBox)});
}

ControlTemplate hidden(ControlTemplate c) {
    c.style |= kHidden;
    return c;
}

// The mode button, and the factory rows that start hidden until factory mode shows them.
void addFactory(DialogTemplate& t) {
    t.add({
        control(ControlKind::PushButton, ids::kFactoryMode, kFactoryModeCaption, {7, kLeft}),
        control(ControlKind::PushButton, ids::kHiddenSet, kSetCaption, {7, kLeft + 1}, 0, kHidden),
    });
    for (ControlTemplate c : {
             group(ids::kDischargeBox, kDischargeBox, "", {8, kLeft, 1, 2}),
             control(ControlKind::Static, ids::kDischargeLabel, "内阻测试放电电流", {0, 0},
                     kDischargeBox),
             control(ControlKind::Edit, ids::kDischarge, "", {0, 1}, kDischargeBox),
             control(ControlKind::Static, ids::kDischargeUnit, "A", {0, 2}, kDischargeBox),
             control(ControlKind::PushButton, ids::kReadDischarge, kReadCaption, {0, 3},
                     kDischargeBox),
             control(ControlKind::PushButton, ids::kSetDischarge, kSetCaption, {0, 4},
                     kDischargeBox),
             group(ids::kCalibBox, kCalibBox, "", {9, kLeft, 1, 2}),
             control(ControlKind::Static, ids::kCalibLabel, "参数校准", {0, 0}, kCalibBox),
             control(ControlKind::Static, ids::kCalibTypeLabel, "类型", {0, 1}, kCalibBox),
             dropList(ids::kCalibType, {"电池电压", "电流"}, {0, 2}, kCalibBox),
             control(ControlKind::Static, ids::kCalibRangeLabel, "量程", {0, 3}, kCalibBox),
             dropList(ids::kCalibRange, {}, {0, 4}, kCalibBox),
             control(ControlKind::PushButton, ids::kCalibrate, "校准", {0, 5}, kCalibBox),
         }) {
        t.controls.push_back(hidden(std::move(c)));
    }
}

void addMasksAndStatus(DialogTemplate& t) {
    addMask(t, {"电压报警通道配置", kVoltMaskBox, 0, ids::kVoltMask, ids::kVoltSelectAll,
                ids::kVoltSelectNone, ids::kReadVoltMask, ids::kSetVoltMask});
    addMask(t, {"内阻报警通道配置", kIrMaskBox, 3, ids::kIrMask, ids::kIrSelectAll,
                ids::kIrSelectNone, ids::kReadIrMask, ids::kSetIrMask});
    addMask(t, {"温度报警通道配置", kTempMaskBox, 6, ids::kTempMask, ids::kTempSelectAll,
                ids::kTempSelectNone, ids::kReadTempMask, ids::kSetTempMask});
    t.add({group(kNoId, kStatusBox, "报警状态", {9, kRight, 1, 1})});
    t.add(checkGrid(ids::kStatusBits,
                    {"温度上限报警状态位", "温度下限报警状态位", "电压上限报警状态位",
                     "电压下限报警状态位", "内阻上限报警状态位", "电流上限报警状态位"},
                    3, 0, kStatusBox));
    t.add({control(ControlKind::PushButton, ids::kReadStatus, kReadCaption, {0, 3}, kStatusBox),
           control(ControlKind::PushButton, ids::kSetStatus, kSetCaption, {1, 3}, kStatusBox,
                   kHidden)});
}

}  // namespace

DialogTemplate makeSystemParamTemplate() {
    DialogTemplate t{IDD_SYSTEM_PARAM, "", "宋体", 10, {}};
    addSettings(t);
    addThresholds(t);
    addFactory(t);
    addMasksAndStatus(t);
    return t;
}

DialogTemplate makePasswordTemplate() {
    DialogTemplate t{IDD_PASSWORD, "请输入权限密码", "System", 10, {}};
    t.controls = {
        label("密码：", {0, 0}),
        control(ControlKind::Edit, idc::password::kPassword, "", {0, 1, 1, 2}, 0, kPassword),
        control(ControlKind::PushButton, IDOK, "确定", {1, 1}, 0, kDefaultButton),
        control(ControlKind::PushButton, IDCANCEL, "取消", {1, 2}),
    };
    return t;
}
