// Templates of the record query page and the three record list dialogs. A record dialog has
// its controls on a bar above a list that takes the rest of the page.
#include "Strings.h"
#include "Templates.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordCommandIds.h"
#include "ids/RecordCurveIds.h"
#include "ids/RecordQueryIds.h"
#include "ids/RecordResistanceIds.h"
#include "ids/RecordVoltageIds.h"

using namespace tpl;

namespace {

enum { kBar = 1, kCountBox, kPlaceBox, kGroupBox, kJudgeBox };
constexpr int kCountChars = 5;  // up to 65535 records

ControlTemplate button(int id, std::string caption, GridCell cell, unsigned style = 0) {
    return control(ControlKind::PushButton, id, std::move(caption), cell, kBar, style);
}

ControlTemplate edit(int id, GridCell cell, int box) {
    ControlTemplate c = control(ControlKind::Edit, id, "", cell, box);
    c.chars = kCountChars;
    return c;
}

// The count in its group box, then "读取" and "删除全部记录" on the first line of the bar.
void addCountRow(DialogTemplate& t, const char* countCaption, int countEdit, int readCount,
                 int deleteAll) {
    t.add({
        group(kNoId, kBar, "", {0, 0}),
        group(kNoId, kCountBox, countCaption, {0, 0, 2, 1}, kBar),
        edit(countEdit, {0, 0}, kCountBox),
        button(readCount, kReadCaption, {0, 1}),
        button(deleteAll, "删除全部记录", {0, 2}),
    });
}

// "从第 [start] 条记录开始读取至第 [end] 条" in its group box on the bar's second line.
void addRangeRow(DialogTemplate& t, const char* caption, int start, int end) {
    t.add({
        group(kNoId, kPlaceBox, caption, {1, 1, 1, 3}, kBar),
        label("从第", {0, 0}, kPlaceBox),
        edit(start, {0, 1}, kPlaceBox),
        label("条记录开始读取至第", {0, 2}, kPlaceBox),
        edit(end, {0, 3}, kPlaceBox),
        label("条", {0, 4}, kPlaceBox),
    });
}

}  // namespace

DialogTemplate makeRecordQueryTemplate() {
    namespace ids = idc::record_query;
    DialogTemplate t{IDD_RECORD_QUERY, "", "宋体", 10, {}};
    t.controls = {
        control(ControlKind::PushButton, ids::kVoltageRecords, "电压记录列表查询", {0, 0}),
        control(ControlKind::PushButton, ids::kResistanceRecords, "内阻记录查询", {1, 0}),
        control(ControlKind::PushButton, ids::kAlarmRecords, "报警记录查询", {2, 0}),
        control(ControlKind::PushButton, ids::kCurveRecords, "电压曲线记录查询", {3, 0}),
    };
    return t;
}

DialogTemplate makeVoltageRecordsTemplate() {
    namespace ids = idc::voltage_records;
    DialogTemplate t{IDD_VOLTAGE_RECORDS, "", "宋体", 10, {}};
    addCountRow(t, "电池电压记录条数", ids::kCount, ids::kReadCount, ids::kDeleteAll);
    t.add({
        button(ids::kBack, "返回", {0, 4}),
        group(kNoId, kPlaceBox, "读取的电压记录位置", {1, 1, 1, 3}, kBar),
        label("第", {0, 0}, kPlaceBox),
        dropList(ids::kGroup, numberItems(8), {0, 1}, kPlaceBox),
        label("组总共", {0, 2}, kPlaceBox),
        control(ControlKind::Static, ids::kGroupSize, "0", {0, 3}, kPlaceBox),
        label("条曲线记录", {0, 4}, kPlaceBox),
        button(ids::kReadGroup, "读取记录", {1, 4}, kDisabled),
        control(ControlKind::ListView, ids::kList, "", {1, 0}),
    });
    return t;
}

namespace {

// What the alarm and internal-resistance record dialogs do not share.
struct RangeRecordsLayout {
    int templateId;
    const char* countCaption;
    const char* rangeCaption;
    int list;
    int count;
    int rangeStart;
    int rangeEnd;
};

// The count row with "读取全部记录" and "返回", the range row with "读取记录", and the list.
DialogTemplate rangeRecordsTemplate(const RangeRecordsLayout& l) {
    namespace cmd = idc::record_commands;
    DialogTemplate t{l.templateId, "", "宋体", 10, {}};
    addCountRow(t, l.countCaption, l.count, cmd::kReadCount, cmd::kDeleteAll);
    t.add({button(cmd::kReadAll, "读取全部记录", {0, 3}, kDisabled),
           button(cmd::kBack, "返回", {0, 4})});
    addRangeRow(t, l.rangeCaption, l.rangeStart, l.rangeEnd);
    t.add({
        button(cmd::kReadRange, "读取记录", {1, 4}, kDisabled),
        control(ControlKind::ListView, l.list, "", {1, 0}),
    });
    return t;
}

}  // namespace

DialogTemplate makeAlarmRecordsTemplate() {
    namespace ids = idc::alarm_records;
    return rangeRecordsTemplate({IDD_ALARM_RECORDS, "报警记录条数", "读取部分报警记录", ids::kList,
                                 ids::kCount, ids::kRangeStart, ids::kRangeEnd});
}

// The baseline and the change thresholds on one line under the commands, the records, and
// under them the change of the chosen record; the trend chart takes the place of both.
DialogTemplate makeResistanceRecordsTemplate() {
    namespace ids = idc::resistance_records;
    DialogTemplate t =
        rangeRecordsTemplate({IDD_RESISTANCE_RECORDS, "电池内阻记录条数", "读取的内阻记录位置",
                              ids::kList, ids::kCount, ids::kRangeStart, ids::kRangeEnd});
    for (ControlTemplate& c : t.controls) {
        if (c.id == ids::kList) {
            c.cell = {2, 0};
        }
    }
    ControlTemplate warn = control(ControlKind::Edit, ids::kWarnPercent, "", {0, 4}, kJudgeBox);
    warn.chars = kCountChars;
    ControlTemplate fail = control(ControlKind::Edit, ids::kFailPercent, "", {0, 6}, kJudgeBox);
    fail.chars = kCountChars;
    t.add({
        group(kNoId, kJudgeBox, "内阻基准与趋势", {1, 0}),
        control(ControlKind::PushButton, ids::kSetBaseline, kSetBaselineCaption, {0, 0}, kJudgeBox),
        control(ControlKind::PushButton, ids::kClearBaseline, kClearBaselineCaption, {0, 1},
                kJudgeBox),
        control(ControlKind::Static, ids::kBaselineNote, kChangeAgainstMedian, {0, 2}, kJudgeBox),
        label("警告%", {0, 3}, kJudgeBox),
        warn,
        label("故障%", {0, 5}, kJudgeBox),
        fail,
        control(ControlKind::PushButton, ids::kApplyThresholds, "应用", {0, 7}, kJudgeBox),
        control(ControlKind::CheckBox, ids::kTrendView, kTrendViewCaption, {0, 8}, kJudgeBox),
        control(ControlKind::Static, ids::kTrendChart, "", {2, 0}, 0, kHidden),
        control(ControlKind::TreeView, ids::kTrendChannels, "", {2, 1}, 0, kHidden),
        control(ControlKind::Static, ids::kChangeNote, kChangeNoRecord, {3, 0}),
        control(ControlKind::ListView, ids::kChangeList, "", {4, 0}),
        control(ControlKind::Static, ids::kTrendReadout, "", {5, 0}, 0, kHidden),
    });
    return t;
}

// The curve dialog keeps its commands in a column beside the chart, above the channel tree,
// so the chart gets its full size on a laptop screen.
DialogTemplate makeCurveRecordsTemplate() {
    namespace ids = idc::curve_records;
    DialogTemplate t{IDD_CURVE_RECORDS, "", "宋体", 10, {}};
    t.controls = {
        group(kNoId, kBar, "", {0, 0}),
        control(ControlKind::Static, ids::kChart, "", {0, 1}),
        group(kNoId, kCountBox, "电压曲线条数：", {0, 0, 1, 2}, kBar),
        edit(ids::kCount, {0, 0}, kCountBox),
        control(ControlKind::PushButton, ids::kReadCount, kReadCaption, {0, 1}, kCountBox),
        button(ids::kDeleteAll, "删除全部曲线记录", {1, 0, 1, 2}),
        group(kNoId, kGroupBox, "选择有效曲线组", {2, 0, 1, 2}, kBar),
        label("第", {0, 0}, kGroupBox),
        dropList(ids::kGroup, {}, {0, 1}, kGroupBox, kDisabled),
        label("组", {0, 2}, kGroupBox),
        control(ControlKind::PushButton, ids::kSetGroup, "设置", {0, 3}, kGroupBox, kDisabled),
        group(kNoId, kPlaceBox, "读取该组有效曲线", {3, 0, 1, 2}, kBar),
        edit(ids::kGroupCurves, {0, 0}, kPlaceBox),
        control(ControlKind::PushButton, ids::kReadGroup, kReadCaption, {0, 1}, kPlaceBox),
        button(ids::kViewRecord, "查看记录", {4, 0}),
        button(ids::kBack, "返回", {4, 1}),
        control(ControlKind::Static, ids::kReadoutLabel, "时间：", {5, 0}, kBar, kHidden),
        control(ControlKind::Edit, ids::kReadout, "", {6, 0, 1, 2}, kBar, kHidden | kReadOnly),
        control(ControlKind::CheckBox, ids::kSelectAll, "全选", {7, 0}, kBar),
        control(ControlKind::TreeView, ids::kChannelTree, "", {8, 0, 1, 2}, kBar),
    };
    return t;
}
