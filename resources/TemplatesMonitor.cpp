// Templates of the live monitoring pages: bank data, the three cell pages, total current.
#include "Strings.h"
#include "Templates.h"
#include "ids/BankIds.h"
#include "ids/CellIds.h"
#include "ids/CurrentIds.h"

using namespace tpl;

namespace {

// "读取成功次数" and "读取失败次数" group boxes around the two counters, side by side from
// (row, column) or, `stacked`, one below the other.
void addCounters(DialogTemplate& t, int okId, int failId, int row, int column, int box = 0,
                 bool stacked = false) {
    enum { kOkBox = 90, kFailBox = 91 };
    const GridCell failCell = stacked ? GridCell{row + 1, column} : GridCell{row, column + 1};
    t.add({
        group(kNoId, kOkBox, "读取成功次数", {row, column}, box),
        control(ControlKind::Static, okId, "0", {0, 0}, kOkBox),
        group(kNoId, kFailBox, "读取失败次数", failCell, box),
        control(ControlKind::Static, failId, "0", {0, 0}, kFailBox),
    });
}

constexpr CellPageLayout kCellLayouts[] = {
    {IDD_VOLTAGE, "电池电压", idc::voltage::kLeftList, idc::voltage::kRightList, true, false},
    {IDD_RESISTANCE, "电池内阻", idc::resistance::kLeftList, idc::resistance::kRightList, true,
     true},
    {IDD_TEMPERATURE, "电池温度", idc::temperature::kLeftList, idc::temperature::kRightList, false,
     false},
};

}  // namespace

const CellPageLayout& cellPageLayout(int templateId) {
    for (const CellPageLayout& layout : kCellLayouts) {
        if (layout.templateId == templateId) {
            return layout;
        }
    }
    return kCellLayouts[0];
}

DialogTemplate makeBankTemplate() {
    namespace ids = idc::bank;
    enum { kVoltBox = 1, kIrBox, kTempBox, kSideBox, kJudgeBox, kWorstBox };
    DialogTemplate t{IDD_BANK, "", "宋体", 10, {}};
    // The three lists take the whole height, so that all ten rows of each show on a laptop
    // screen; the current and the reading controls stand beside them.
    t.controls = {
        group(kNoId, kVoltBox, "电池电压", {0, 0}),
        control(ControlKind::ListView, ids::kVoltageList, "", {0, 0}, kVoltBox),
        group(kNoId, kIrBox, "电池内阻", {1, 0}),
        control(ControlKind::ListView, ids::kResistanceList, "", {0, 0}, kIrBox),
        group(kNoId, kTempBox, "电池温度", {2, 0}),
        control(ControlKind::ListView, ids::kTemperatureList, "", {0, 0}, kTempBox),
        group(kNoId, kSideBox, "", {0, 1, 3, 1}),
        label("电池组总电流：", {0, 0}, kSideBox),
        control(ControlKind::Edit, ids::kCurrent, "", {1, 0}, kSideBox),
        control(ControlKind::PushButton, ids::kStartStop, kStartReadingCaption, {2, 0}, kSideBox),
    };
    addCounters(t, ids::kOkCount, ids::kFailCount, 3, 0, kSideBox, true);
    // The judgement of the bank takes the width the lists leave, below the reading controls.
    t.add({
        control(ControlKind::PushButton, ids::kReadLimits, "读取报警阀值", {5, 0}, kSideBox),
        group(kNoId, kJudgeBox, "电池组概况", {6, 0}, kSideBox),
        control(ControlKind::Static, ids::kLimitsState, "未读取报警阀值，仅按均值比较", {0, 0},
                kJudgeBox),
        control(ControlKind::Static, ids::kVerdict, "", {1, 0}, kJudgeBox),
        control(ControlKind::Static, ids::kBaseline, "内阻基准：未选定", {2, 0}, kJudgeBox),
        control(ControlKind::ListView, ids::kSummaryList, "", {3, 0}, kJudgeBox),
        group(kNoId, kWorstBox, "最需关注的电池", {7, 0}, kSideBox),
        control(ControlKind::ListView, ids::kWorstList, "", {0, 0}, kWorstBox),
    });
    return t;
}

DialogTemplate makeCellTemplate(const CellPageLayout& layout) {
    namespace ids = idc::cell;
    enum { kListsBox = 1, kTestBox };
    const unsigned viewStyle = layout.viewMode ? 0u : kHidden;
    DialogTemplate t{layout.templateId, "", "宋体", 12, {}};
    t.controls = {
        group(kNoId, kListsBox, layout.caption, {0, 0, 1, 4}),
        control(ControlKind::ListView, layout.leftList, "", {0, 0}, kListsBox),
        control(ControlKind::ListView, layout.rightList, "", {0, 1}, kListsBox),
        control(ControlKind::PushButton, ids::kStartStop, kStartReadingCaption, {1, 0}),
    };
    addCounters(t, ids::kOkCount, ids::kFailCount, 1, 1);
    t.add({
        label("切换查看模式", {2, 0}, 0, viewStyle),
        dropList(ids::kViewMode, {"列表", "条形图", "曲线"}, {2, 1}, 0, viewStyle),
        control(ControlKind::Edit, ids::kHiddenEdit1, "", {2, 2}, 0, kHidden),
        control(ControlKind::Edit, ids::kHiddenEdit2, "", {2, 3}, 0, kHidden),
    });
    if (layout.manualTest) {
        std::vector<std::string> cells = numberItems(40);
        cells.push_back("ALL");
        t.add({group(kNoId, kTestBox, "手动内阻测试", {3, 0, 1, 3})});
        t.add(fieldRow({listField("通道号：", idc::resistance::kTestCell, cells)},
                       {{idc::resistance::kTestButton, kSetCaption}}, 0, kTestBox));
    }
    return t;
}

DialogTemplate makeCurrentTemplate() {
    namespace ids = idc::current;
    enum { kBox = 1 };
    DialogTemplate t{IDD_CURRENT, "", "宋体", 10, {}};
    t.controls = {group(kNoId, kBox, "总电流", {0, 0})};
    t.add(editRow("", ids::kValue, "A", {{ids::kRead, kReadCaption}}, 0, kBox));
    t.add({
        control(ControlKind::PushButton, ids::kCurveRecords, "电压曲线记录查询", {1, 0}, 0,
                kHidden),
        control(ControlKind::PushButton, ids::kButton2, "Button2", {1, 1}, 0, kHidden),
        control(ControlKind::PushButton, ids::kButton3, "Button3", {1, 2}, 0, kHidden),
    });
    return t;
}
