// Templates of the live monitoring pages: bank data, the three cell pages, total current.
#include "Strings.h"
#include "Templates.h"

using namespace tpl;

namespace {

// "读取成功次数" and "读取失败次数" frames around the two counters.
void addCounters(DialogTemplate& t, int okId, int failId, int row, int column) {
    enum { kOkFrame = 90, kFailFrame = 91 };
    t.controls.push_back(group(kOkFrame, "读取成功次数", {row, column}));
    t.controls.push_back(control(ControlKind::Static, okId, "0", {0, 0}, kOkFrame));
    t.controls.push_back(group(kFailFrame, "读取失败次数", {row, column + 1}));
    t.controls.push_back(control(ControlKind::Static, failId, "0", {0, 0}, kFailFrame));
}

struct CellPageShape {
    const char* caption;
    int leftList;
    int rightList;
    bool viewMode;
    bool manualTest;
};

CellPageShape cellShape(int id) {
    switch (id) {
        case IDD_RESISTANCE:
            return {"电池内阻", 1024, 1025, true, true};
        case IDD_TEMPERATURE:
            return {"电池温度", 1017, 1015, false, false};
        default:
            return {"电池电压", 1017, 1015, true, false};
    }
}

}  // namespace

DialogTemplate makeBankTemplate() {
    enum { kVoltFrame = 1, kIrFrame, kTempFrame };
    DialogTemplate t{IDD_BANK, "", "宋体", 10, {}};
    t.controls = {
        group(kVoltFrame, "电池电压", {0, 0, 1, 5}),
        control(ControlKind::ListView, 1014, "", {0, 0}, kVoltFrame),
        group(kIrFrame, "电池内阻", {1, 0, 1, 5}),
        control(ControlKind::ListView, 1044, "", {0, 0}, kIrFrame),
        group(kTempFrame, "电池温度", {2, 0, 1, 5}),
        control(ControlKind::ListView, 1045, "", {0, 0}, kTempFrame),
        label("电池组总电流：", {3, 0}),
        control(ControlKind::Edit, 1015, "", {3, 1}),
        control(ControlKind::PushButton, 1019, kStartReadingCaption, {3, 2}),
    };
    addCounters(t, 1020, 1021, 3, 3);
    return t;
}

DialogTemplate makeCellTemplate(int id) {
    enum { kListsFrame = 1, kViewFrame, kTestFrame };
    const CellPageShape shape = cellShape(id);
    const unsigned viewStyle = shape.viewMode ? 0u : kHidden;
    DialogTemplate t{id, "", "宋体", 12, {}};
    t.controls = {
        group(kListsFrame, shape.caption, {0, 0, 1, 4}),
        control(ControlKind::ListView, shape.leftList, "", {0, 0}, kListsFrame),
        control(ControlKind::ListView, shape.rightList, "", {0, 1}, kListsFrame),
        control(ControlKind::PushButton, 1016, kStartReadingCaption, {1, 0}),
    };
    addCounters(t, 1021, 1022, 1, 1);
    t.controls.push_back(label("切换查看模式", {2, 0}, 0, viewStyle));
    t.controls.push_back(dropList(1023, {"列表", "条形图", "曲线"}, {2, 1}, 0, viewStyle));
    t.controls.push_back(control(ControlKind::Edit, 1002, "", {2, 2}, 0, kHidden));
    t.controls.push_back(control(ControlKind::Edit, 1003, "", {2, 3}, 0, kHidden));
    if (shape.manualTest) {
        std::vector<std::string> cells = numberItems(40);
        cells.push_back("ALL");
        t.controls.push_back(group(kTestFrame, "手动内阻测试", {3, 0, 1, 3}));
        t.controls.push_back(label("通道号：", {0, 0}, kTestFrame));
        t.controls.push_back(dropList(1146, cells, {0, 1}, kTestFrame));
        t.controls.push_back(control(ControlKind::PushButton, 1123, "设置", {0, 2}, kTestFrame));
    }
    return t;
}

DialogTemplate makeCurrentTemplate() {
    enum { kFrame = 1 };
    DialogTemplate t{IDD_CURRENT, "", "System", 10, {}};
    t.controls = {
        group(kFrame, "总电流", {0, 0}),
        control(ControlKind::Edit, 1002, "", {0, 0}, kFrame),
        label("A", {0, 1}, kFrame),
        control(ControlKind::PushButton, 1047, "读取", {0, 2}, kFrame),
        control(ControlKind::PushButton, 1142, "电压曲线记录查询", {1, 0}, 0, kHidden),
        control(ControlKind::PushButton, 1123, "Button2", {1, 1}, 0, kHidden),
        control(ControlKind::PushButton, 1124, "Button3", {1, 2}, 0, kHidden),
    };
    return t;
}
