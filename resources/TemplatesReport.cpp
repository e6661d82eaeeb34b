// The maintenance report dialog: the header's fields, what to read, where to write, progress.
#include "Templates.h"
#include "ids/ReportIds.h"

using namespace tpl;

DialogTemplate makeReportTemplate() {
    namespace id = idc::report;
    DialogTemplate t{IDD_REPORT, "生成维护报告", "宋体", 9, {}};
    t.controls = {
        label("现场：", {0, 0}),
        control(ControlKind::Edit, id::kSite, "", {0, 1, 1, 2}),
        label("电池组：", {1, 0}),
        control(ControlKind::Edit, id::kString, "", {1, 1, 1, 2}),
        label("技术员：", {2, 0}),
        control(ControlKind::Edit, id::kTechnician, "", {2, 1, 1, 2}),
        control(ControlKind::CheckBox, id::kSaveFields, "保存以上信息，下次自动填入", {3, 1, 1, 2}),
        control(ControlKind::CheckBox, id::kReadRecords, "读取内阻记录（用于趋势图，较慢）",
                {4, 1, 1, 2}),
        label("PDF文件：", {5, 0}),
        control(ControlKind::Edit, id::kPdfPath, "", {5, 1}),
        control(ControlKind::PushButton, id::kBrowse, "浏览...", {5, 2}),
        control(ControlKind::Static, id::kCsvPath, "", {6, 1, 1, 2}),
        control(ControlKind::Static, id::kProgress, "", {7, 0, 1, 3}),
        control(ControlKind::PushButton, id::kGenerate, "生成", {8, 1}, 0, kDefaultButton),
        control(ControlKind::PushButton, IDCANCEL, "关闭", {8, 2}),
    };
    return t;
}
