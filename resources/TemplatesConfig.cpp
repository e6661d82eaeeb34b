// Templates of the configuration pages.
#include "Strings.h"
#include "Templates.h"
#include "ids/CommIds.h"
#include "ids/ProbeIds.h"
#include "ids/ScanIds.h"

using namespace tpl;
DialogTemplate makeCommTemplate() {
    namespace ids = idc::comm;
    enum { kSettings = 1 };
    std::vector<std::string> ports;
    for (int i = 1; i <= 12; ++i) {
        ports.push_back("Com" + std::to_string(i));
    }
    DialogTemplate t{IDD_COMM, "", "宋体", 11, {}};
    t.controls = {group(ids::kSettingsBox, kSettings, "通讯参数设置", {0, 0})};
    const FieldSpec rows[] = {
        listField("串口号：", ids::kPort, ports),
        listField("波特率：", ids::kBaud, {"1200", "2400", "4800", "9600", "19200"}),
        editField("地址：", ids::kAddress, "", "1"),
    };
    for (int row = 0; row < 3; ++row) {
        t.add(fieldRow({rows[row]}, {}, row, kSettings));
    }
    t.add({control(ControlKind::Static, ids::kPortPath, "", {0, 2}, kSettings)});
    // For a device whose address or baud rate is not known.
    t.add({control(ControlKind::PushButton, ids::kSearch, "搜索设备", {3, 1}, kSettings)});
    return t;
}

// The scan: its buttons, how far it is, what it tries, and the list of what answered.
DialogTemplate makeScanTemplate() {
    namespace ids = idc::scan;
    enum { kBar = 1, kProgressBox };
    DialogTemplate t{IDD_SCAN, "", "宋体", 10, {}};
    t.add({
        group(kNoId, kBar, "搜索设备", {0, 0}),
        control(ControlKind::PushButton, ids::kStart, "开始搜索", {0, 0}, kBar),
        control(ControlKind::PushButton, ids::kCancel, "取消", {0, 1}, kBar, kDisabled),
        control(ControlKind::PushButton, ids::kApply, "应用", {0, 2}, kBar, kDisabled),
        control(ControlKind::PushButton, ids::kBack, "返回", {0, 3}, kBar),
        group(kNoId, kProgressBox, "进度", {1, 0, 1, 4}, kBar),
        label("已试：", {0, 0}, kProgressBox),
        control(ControlKind::Static, ids::kDone, "0", {0, 1}, kProgressBox),
        label("/", {0, 2}, kProgressBox),
        control(ControlKind::Static, ids::kTotal, "0", {0, 3}, kProgressBox),
        label("剩余时间：", {0, 4}, kProgressBox),
        control(ControlKind::Static, ids::kTimeLeft, "", {0, 5}, kProgressBox),
        control(ControlKind::Static, ids::kTrying, "", {1, 0, 1, 6}, kProgressBox),
        control(ControlKind::Static, ids::kStatus, "", {2, 0, 1, 6}, kProgressBox),
        control(ControlKind::Static, ids::kNote, "", {3, 0, 1, 6}, kProgressBox),
        control(ControlKind::ListView, ids::kList, "", {1, 0}),
    });
    return t;
}

DialogTemplate makeProbeTemplate() {
    namespace ids = idc::probe;
    enum { kCountBox = 1, kModeBox, kIdBox, kEraseBox };
    std::vector<std::string> channels = numberItems(40);
    channels.push_back("All");
    DialogTemplate t{IDD_PROBE, "", "宋体", 10, {}};
    t.add({group(kNoId, kCountBox, "", {0, 0})});
    t.add(editRow("总线挂载的最大温度探头个数", ids::kMaxProbes, "",
                  {{ids::kSetMax, kSetCaption}, {ids::kReadMax, kReadCaption}}, 0, kCountBox));
    t.add({
        group(kNoId, kModeBox, "模式", {1, 0}),
        control(ControlKind::RadioButton, ids::kModeSemi, "半自动", {0, 0}, kModeBox, kGroupStart),
        control(ControlKind::RadioButton, ids::kModeManual, "手动", {0, 1}, kModeBox),
        control(ControlKind::RadioButton, ids::kModeFull, "全自动", {0, 2}, kModeBox),
    });
    t.add(fieldRow({editField("通道号：", ids::kChannel)}, {}, 0, kModeBox, 3));
    // The identity bytes with the register button, and below them the identity read.
    t.add({group(kNoId, kIdBox, "探头号", {2, 0})});
    for (int i = 0; i < 8; ++i) {
        t.add({control(ControlKind::Edit, ids::kIdBytes[i], "", {0, i + 1}, kIdBox)});
    }
    t.add({control(ControlKind::PushButton, ids::kRegister, "注册", {0, 9}, kIdBox)});
    t.add({label("读取探头号:", {1, 0}, kIdBox),
           control(ControlKind::Edit, ids::kReadChannel, "", {1, 1}, kIdBox),
           control(ControlKind::PushButton, ids::kReadId, kReadCaption, {1, 2}, kIdBox)});
    t.add({group(kNoId, kEraseBox, "擦除探头ID号", {3, 0})});
    t.add(fieldRow({listField("探头通道号：", ids::kEraseChannel, channels)},
                   {{ids::kErase, "删除"}}, 0, kEraseBox));
    return t;
}
