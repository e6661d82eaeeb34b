// Dialogs built from templates: widgets by id, initial state, placement in group boxes, radio
// groups, drop-list text, and tolerance of unknown ids and wrong kinds.
#include <gtest/gtest.h>

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

#include <QtGlobal>

#include "CheckTree.h"
#include "Dialog.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "ToolkitTestSupport.h"

namespace {

const DialogTemplate kForm{
    200,
    "参数设置",
    "宋体",
    10,
    {
        tpl::control(ControlKind::Static, kNoId, "端口：", {0, 0}),
        tpl::dropList(1001, {"COM1", "COM2", "COM3"}, {0, 1}),
        tpl::control(ControlKind::Edit, 1002, "1", {1, 1}),
        tpl::control(ControlKind::Edit, 1003, "", {2, 1}, 0, kPassword),
        tpl::control(ControlKind::Edit, 1004, "只读", {3, 1}, 0, kReadOnly),
        tpl::control(ControlKind::PushButton, 1005, "读取", {4, 0}, 0, kDefaultButton),
        tpl::control(ControlKind::PushButton, 1006, "设置", {4, 1}, 0, kDisabled),
        tpl::control(ControlKind::CheckBox, 1007, "全选", {5, 0}, 0, kChecked),
        tpl::control(ControlKind::Static, 1008, "时间：", {5, 1}, 0, kHidden),
        tpl::group(1009, 1, "报警使能", {6, 0, 1, 2}),
        tpl::control(ControlKind::RadioButton, 1010, "上限", {0, 0}, 1, kGroupStart),
        tpl::control(ControlKind::RadioButton, 1011, "下限", {0, 1}, 1),
        tpl::control(ControlKind::RadioButton, 1012, "单节", {1, 0}, 1, kGroupStart | kChecked),
        tpl::control(ControlKind::RadioButton, 1013, "全部", {1, 1}, 1),
        tpl::group(1014, 2, "内层", {2, 0, 1, 2}, 1),
        tpl::control(ControlKind::Static, 1015, "嵌套", {0, 0}, 2),
        tpl::control(ControlKind::PushButton, IDOK, "确定", {7, 0}),
    },
};

const DialogTemplate kViews{
    201,
    "记录",
    "",
    10,
    {
        tpl::control(ControlKind::ListView, 1100, "", {0, 0}),
        tpl::control(ControlKind::TreeView, 1101, "", {1, 0}),
        tpl::control(ControlKind::TabControl, 1102, "", {2, 0}),
    },
};

TEST(DialogBuild, ControlsTakeKindCaptionAndInitialStateFromTheTemplate) {
    CDialog dialog(kForm);
    dialog.create(nullptr);

    EXPECT_EQ(dialog.windowTitle().toStdString(), "参数设置");
    EXPECT_EQ(dialog.font().family().toStdString(), "宋体");
    EXPECT_EQ(dialog.font().pointSize(), 10);

    auto* combo = dynamic_cast<QComboBox*>(dialog.control(1001));
    ASSERT_NE(combo, nullptr);
    EXPECT_FALSE(combo->isEditable());
    EXPECT_EQ(dialog.items(1001), (std::vector<std::string>{"COM1", "COM2", "COM3"}));
    EXPECT_EQ(dialog.curSel(1001), -1);
    EXPECT_EQ(dialog.windowText(1001), "");

    EXPECT_EQ(dialog.windowText(1002), "1");
    EXPECT_EQ(dynamic_cast<QLineEdit*>(dialog.control(1003))->echoMode(), QLineEdit::Password);
    EXPECT_TRUE(dynamic_cast<QLineEdit*>(dialog.control(1004))->isReadOnly());
    EXPECT_TRUE(dynamic_cast<QPushButton*>(dialog.control(1005))->isDefault());
    EXPECT_EQ(dialog.windowText(1005), "读取");
    EXPECT_TRUE(dialog.isControlEnabled(1005));
    EXPECT_FALSE(dialog.isControlEnabled(1006));
    EXPECT_NE(dynamic_cast<QCheckBox*>(dialog.control(1007)), nullptr);
    EXPECT_TRUE(dialog.isChecked(1007));
    EXPECT_NE(dynamic_cast<QLabel*>(dialog.control(1008)), nullptr);
    EXPECT_EQ(dialog.windowText(1009), "报警使能");
    EXPECT_NE(dynamic_cast<QRadioButton*>(dialog.control(1010)), nullptr);

    CDialog views(kViews);
    views.create(nullptr);
    EXPECT_NE(views.reportList(1100), nullptr);
    EXPECT_NE(views.checkTree(1101), nullptr);
    EXPECT_NE(views.tabCtrl(1102), nullptr);
}

TEST(DialogBuild, ShownMeansNotHiddenItselfWhetherOrNotTheDialogIsVisible) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    ASSERT_FALSE(dialog.isVisible());
    EXPECT_TRUE(dialog.isControlShown(1005));
    EXPECT_TRUE(dialog.isControlShown(1015));  // inside two nested group boxes
    EXPECT_FALSE(dialog.isControlShown(1008));

    dialog.showControl(1008, true);
    dialog.showControl(1005, false);
    EXPECT_TRUE(dialog.isControlShown(1008));
    EXPECT_FALSE(dialog.isControlShown(1005));

    dialog.show();
    EXPECT_TRUE(dialog.control(1008)->isVisible());
    EXPECT_FALSE(dialog.control(1005)->isVisible());
    dialog.hide();
    EXPECT_TRUE(dialog.isControlShown(1008));
    EXPECT_FALSE(dialog.isControlShown(1005));
}

TEST(DialogBuild, ControlsSitInTheGridOfTheirGroupBox) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    QWidget* outer = dialog.control(1009);
    QWidget* inner = dialog.control(1014);
    EXPECT_EQ(dialog.control(1010)->parentWidget(), outer);
    EXPECT_EQ(inner->parentWidget(), outer);
    EXPECT_EQ(dialog.control(1015)->parentWidget(), inner);
    EXPECT_EQ(outer->parentWidget(), &dialog);

    auto* grid = dynamic_cast<QGridLayout*>(outer->layout());
    ASSERT_NE(grid, nullptr);
    int row = -1, column = -1, rowSpan = 0, columnSpan = 0;
    grid->getItemPosition(grid->indexOf(dialog.control(1013)), &row, &column, &rowSpan,
                          &columnSpan);
    EXPECT_EQ(row, 1);
    EXPECT_EQ(column, 1);
    grid->getItemPosition(grid->indexOf(inner), &row, &column, &rowSpan, &columnSpan);
    EXPECT_EQ(columnSpan, 2);
}

TEST(DialogBuild, BrokenGroupBoxesAndCellsFallBackToTheDialog) {
    // Two group boxes naming each other, one naming itself, a box nobody owns, and
    // nonsense cells: everything still gets built, nothing loops, nothing is lost.
    const DialogTemplate broken{
        202,
        "",
        "",
        10,
        {
            tpl::group(1, 10, "A", {0, 0}, 11),
            tpl::group(2, 11, "B", {1, 0}, 10),
            tpl::group(3, 12, "C", {2, 0}, 12),
            tpl::control(ControlKind::Static, 4, "in A", {0, 0}, 10),
            tpl::control(ControlKind::Static, 5, "lost", {0, 0}, 99),
            tpl::control(ControlKind::Static, 6, "odd cell", {-3, 1000000, 0, -2}),
        },
    };
    CDialog dialog(broken);
    dialog.create(nullptr);
    for (int id : {1, 2, 3, 5, 6}) {
        EXPECT_EQ(dialog.control(id)->parentWidget(), &dialog) << "control " << id;
        EXPECT_GE(dialog.layout()->indexOf(dialog.control(id)), 0) << "control " << id;
    }
    EXPECT_EQ(dialog.control(4)->parentWidget(), dialog.control(1));
    EXPECT_GE(dialog.control(1)->layout()->indexOf(dialog.control(4)), 0);
}

TEST(DialogBuild, SmallFormsStayTopLeftWhileListsFillTheDialog) {
    CDialog form(kForm);
    form.create(nullptr);
    form.resize(1600, 1200);
    form.show();
    // The last row stays near the top although a group box above it could grow, and an
    // edit keeps about its natural width.
    EXPECT_LT(form.control(IDOK)->geometry().bottom(), 600);
    EXPECT_LT(form.control(1002)->width(), 2 * form.control(1002)->sizeHint().width());

    CDialog views(kViews);
    views.create(nullptr);
    views.resize(1600, 1200);
    views.show();
    EXPECT_GT(views.reportList(1100)->width(), 1400);
    EXPECT_GT(views.control(1101)->height() + views.control(1100)->height(), 600);
}

TEST(DialogBuild, AListInsideAGroupBoxStillFillsTheDialog) {
    static const DialogTemplate boxed{
        800,
        "",
        "",
        10,
        {tpl::group(kNoId, 1, "outer", {0, 0}), tpl::group(kNoId, 2, "inner", {0, 0}, 1),
         tpl::control(ControlKind::ListView, 1100, "", {0, 0}, 2),
         tpl::control(ControlKind::Edit, 1002, "", {1, 0})}};
    CDialog dialog(boxed);
    dialog.create(nullptr);
    dialog.resize(1600, 1200);
    dialog.show();
    EXPECT_GT(dialog.reportList(1100)->width(), 1400);
    EXPECT_GT(dialog.reportList(1100)->height(), 800);
}

TEST(DialogBuild, AReportAsksForAllItsColumnsAndTheRowsItShouldShow) {
    CReportList list;
    for (int c = 0; c < 4; ++c) {
        list.insertColumn(c, "h", 200);
    }
    EXPECT_GE(list.sizeHint().width(), 800);
    list.fitRows(10);
    const int tenRows = list.sizeHint().height();
    list.fitRows(20);
    EXPECT_GE(list.sizeHint().height() - tenRows, 10 * list.verticalHeader()->defaultSectionSize());
    EXPECT_LT(list.minimumSizeHint().height(), tenRows);  // may still shrink and scroll
}

TEST(DialogBuild, RadioGroupsAreExclusiveOnlyWithinTheirOwnGroup) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    EXPECT_FALSE(dialog.isChecked(1010));
    EXPECT_FALSE(dialog.isChecked(1011));
    EXPECT_TRUE(dialog.isChecked(1012));

    dialog.clickControl(1010);
    EXPECT_TRUE(dialog.isChecked(1010));
    dialog.clickControl(1011);
    EXPECT_FALSE(dialog.isChecked(1010));
    EXPECT_TRUE(dialog.isChecked(1011));
    EXPECT_TRUE(dialog.isChecked(1012));  // the other group is untouched

    // The program may clear the checked radio of a group.
    dialog.setChecked(1011, false);
    EXPECT_FALSE(dialog.isChecked(1010));
    EXPECT_FALSE(dialog.isChecked(1011));
    dialog.setChecked(1013, true);
    EXPECT_FALSE(dialog.isChecked(1012));
}

TEST(DialogBuild, DropListTextSelectsAndAddingNeverSelects) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    dialog.setWindowText(1001, "COM2");
    EXPECT_EQ(dialog.curSel(1001), 1);
    EXPECT_EQ(dialog.windowText(1001), "COM2");
    dialog.setWindowText(1001, "COM9");
    EXPECT_EQ(dialog.curSel(1001), 1);

    dialog.setCurSel(1001, 7);
    EXPECT_EQ(dialog.curSel(1001), -1);
    EXPECT_EQ(dialog.itemText(1001, 3), "");

    dialog.resetContent(1001);
    EXPECT_EQ(dialog.itemCount(1001), 0);
    dialog.addString(1001, "1");
    dialog.addString(1001, "2");
    EXPECT_EQ(dialog.curSel(1001), -1);
    dialog.setCurSel(1001, 0);
    dialog.addString(1001, "3");
    EXPECT_EQ(dialog.curSel(1001), 0);
    EXPECT_EQ(dialog.itemText(1001, 2), "3");
}

TEST(DialogBuild, UnknownIdsAndWrongKindsAreHarmless) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    for (int id : {9999, kNoId}) {
        EXPECT_EQ(dialog.control(id), nullptr);
        EXPECT_EQ(dialog.windowText(id), "");
        dialog.setWindowText(id, "x");
        EXPECT_FALSE(dialog.isChecked(id));
        dialog.setChecked(id, true);
        dialog.enableControl(id, false);
        EXPECT_FALSE(dialog.isControlEnabled(id));
        dialog.showControl(id, true);
        EXPECT_FALSE(dialog.isControlShown(id));
        EXPECT_EQ(dialog.curSel(id), -1);
        dialog.setCurSel(id, 0);
        EXPECT_EQ(dialog.itemCount(id), 0);
        EXPECT_TRUE(dialog.items(id).empty());
        dialog.resetContent(id);
        dialog.addString(id, "x");
        dialog.clickControl(id);
        dialog.selectAsUser(id, 0);
        dialog.typeAsUser(id, "x");
        EXPECT_FALSE(dialog.subclassControl(id, nullptr));
    }
    // Operations meant for another kind leave the control as it was.
    dialog.addString(1005, "x");
    dialog.setCurSel(1002, 1);
    dialog.selectAsUser(1002, 0);
    dialog.typeAsUser(1001, "COM3");
    dialog.setChecked(1005, true);
    EXPECT_EQ(dialog.windowText(1002), "1");
    EXPECT_EQ(dialog.curSel(1001), -1);
    EXPECT_FALSE(dialog.isChecked(1005));
    EXPECT_EQ(dialog.reportList(1002), nullptr);
    EXPECT_EQ(dialog.checkTree(1001), nullptr);
    EXPECT_EQ(dialog.tabCtrl(1005), nullptr);
}

TEST(DialogBuild, SubclassedControlTakesThePlaceIdAndStateOfTheOldOne) {
    CDialog dialog(kForm);
    dialog.create(nullptr);
    dialog.enableControl(1015, false);
    QWidget* inner = dialog.control(1014);
    auto* chart = new QWidget;
    ASSERT_TRUE(dialog.subclassControl(1015, chart));
    EXPECT_EQ(dialog.control(1015), chart);
    EXPECT_EQ(chart->parentWidget(), inner);
    EXPECT_GE(inner->layout()->indexOf(chart), 0);
    EXPECT_FALSE(chart->isEnabled());
    EXPECT_TRUE(dialog.isControlShown(1015));
    EXPECT_EQ(inner->findChildren<QLabel*>().size(), 0);

    auto* hiddenOne = new QWidget;
    ASSERT_TRUE(dialog.subclassControl(1008, hiddenOne));
    EXPECT_FALSE(dialog.isControlShown(1008));

    QWidget stray;
    EXPECT_FALSE(dialog.subclassControl(4242, &stray));
    EXPECT_EQ(stray.parentWidget(), nullptr);
}

// The rows form pages repeat: label, field, unit and buttons left to right; check boxes
// filled row by row.
TEST(DialogBuild, FormRowsPlaceTheirControlsInOrder) {
    DialogTemplate t{203, "", "", 10, {}};
    t.add(tpl::editRow("间隔", 10, "时", {{11, "读取"}, {12, "设置"}}, 0));
    t.add(tpl::fieldRow(
        {tpl::editField("", 20, "年"), tpl::listField("波特率", 21, {"1200", "9600"})}, {}, 1));
    const int boxes[] = {30, 31, 32, 33, 34};
    t.add(tpl::checkGrid(boxes, {"电池#1", "电池#2", "电池#3", "电池#4", "电池#5"}, 2, 2));
    CDialog dialog(t);
    dialog.create(nullptr);
    auto* grid = dynamic_cast<QGridLayout*>(dialog.layout());
    ASSERT_NE(grid, nullptr);
    auto at = [&](int row, int column) {
        QLayoutItem* item = grid->itemAtPosition(row, column);
        return item != nullptr ? item->widget() : nullptr;
    };
    EXPECT_EQ(qobject_cast<QLabel*>(at(0, 0))->text(), QString::fromUtf8("间隔"));
    EXPECT_EQ(at(0, 1), dialog.control(10));
    EXPECT_EQ(qobject_cast<QLabel*>(at(0, 2))->text(), QString::fromUtf8("时"));
    EXPECT_EQ(at(0, 3), dialog.control(11));
    EXPECT_EQ(dialog.windowText(12), "设置");
    EXPECT_EQ(at(1, 0), dialog.control(20));
    EXPECT_EQ(at(1, 3), dialog.control(21));
    EXPECT_EQ(dialog.items(21), (std::vector<std::string>{"1200", "9600"}));
    EXPECT_EQ(at(2, 1), dialog.control(31));
    EXPECT_EQ(at(4, 0), dialog.control(34));
    EXPECT_EQ(dialog.windowText(34), "电池#5");
}

const DialogTemplate kMistakenForm{204,
                                   "",
                                   "",
                                   10,
                                   {tpl::control(ControlKind::PushButton, 1, "读取", {0, 0}),
                                    tpl::control(ControlKind::Edit, 2, "", {1, 0})}};

class Mistaken : public CDialog {
  public:
    Mistaken() : CDialog(kMistakenForm) { useMessageMap<Mistaken>(kMap); }
    void nothing() {}
    static constexpr MessageEntry<Mistaken> kMap[] = {
        {1, Notify::Clicked, &Mistaken::nothing},
        {2, Notify::Clicked, &Mistaken::nothing},     // an edit is never clicked
        {3, Notify::TextChange, &Mistaken::nothing},  // no such control
    };
};

// Mistakes in a dialog's own description are said once, not silently ignored.
TEST(DialogBuild, MessageMapMistakesAndUnknownIdsAreLogged) {
    static std::vector<std::string> logged;
    logged.clear();
    const QtMessageHandler previous =
        qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& text) {
            logged.push_back(text.toStdString());
        });
    Mistaken dialog;
    dialog.create(nullptr);
    dialog.windowText(77);
    dialog.setWindowText(77, "x");
    qInstallMessageHandler(previous);
    EXPECT_EQ(dialog.messageMapFaults().size(), 2u);
    EXPECT_EQ(logged, (std::vector<std::string>{
                          "KORVAL: dialog 204, message map row 2: its control cannot raise that "
                          "notification",
                          "KORVAL: dialog 204, message map row 3: no such control",
                          "KORVAL: dialog 204 has no control 77"}));
}

}  // namespace
