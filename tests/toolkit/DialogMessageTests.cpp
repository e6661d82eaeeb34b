// Message maps: which operator actions and program calls raise which notifications, the
// default OK/Cancel behaviour, modeless and modal runs, and the modal hook.
#include <gtest/gtest.h>

#include <QCoreApplication>

#include <QKeyEvent>
#include <QTabBar>
#include <QTimer>

#include "CheckTree.h"
#include "Dialog.h"
#include "TabCtrl.h"
#include "ToolkitTestSupport.h"

namespace {

constexpr int kRead = 1001;
constexpr int kPort = 1002;
constexpr int kAddress = 1003;
constexpr int kLocked = 1004;
constexpr int kSelectAll = 1005;
constexpr int kTree = 1006;
constexpr int kTabs = 1007;
constexpr int kOff = 1008;

const DialogTemplate kPage{
    300,
    "通讯参数设置",
    "宋体",
    10,
    {
        tpl::control(ControlKind::PushButton, kRead, "读取", {0, 0}),
        tpl::dropList(kPort, {"COM1", "COM2"}, {1, 0}),
        tpl::control(ControlKind::Edit, kAddress, "", {2, 0}),
        tpl::control(ControlKind::Edit, kLocked, "版本", {3, 0}, 0, kReadOnly),
        tpl::control(ControlKind::CheckBox, kSelectAll, "全选", {4, 0}),
        tpl::control(ControlKind::TreeView, kTree, "", {5, 0}),
        tpl::control(ControlKind::TabControl, kTabs, "", {6, 0}),
        tpl::control(ControlKind::PushButton, kOff, "停止", {7, 0}, 0, kDisabled),
        tpl::control(ControlKind::PushButton, IDOK, "确定", {8, 0}),
        tpl::control(ControlKind::PushButton, IDCANCEL, "取消", {8, 1}),
    },
};

class CPageDlg : public CDialog {
  public:
    explicit CPageDlg(QWidget* parent = nullptr);

    void OnRead() { ++reads; }
    void OnPortChange() { ++portChanges; }
    void OnAddressChange() { ++addressChanges; }
    void OnSelectAll() { ++selectAlls; }
    void OnTreeClick() { ++treeClicks; }
    void OnTabChange() { ++tabChanges; }
    void OnOff() { ++offs; }

    int reads = 0, portChanges = 0, addressChanges = 0, selectAlls = 0, treeClicks = 0,
        tabChanges = 0, offs = 0, inits = 0, oks = 0, cancels = 0;

  protected:
    bool onInitDialog() override {
        ++inits;
        return true;
    }
    void onOK() override {
        ++oks;
        CDialog::onOK();
    }
    void onCancel() override {
        ++cancels;
        CDialog::onCancel();
    }
};

const MessageEntry<CPageDlg> kPageMessages[] = {
    {kRead, Notify::Clicked, &CPageDlg::OnRead},
    {kPort, Notify::SelChange, &CPageDlg::OnPortChange},
    {kAddress, Notify::TextChange, &CPageDlg::OnAddressChange},
    {kSelectAll, Notify::Clicked, &CPageDlg::OnSelectAll},
    {kTree, Notify::Clicked, &CPageDlg::OnTreeClick},
    {kTabs, Notify::SelChange, &CPageDlg::OnTabChange},
    {kOff, Notify::Clicked, &CPageDlg::OnOff},
};

CPageDlg::CPageDlg(QWidget* parent) : CDialog(kPage, parent) {
    useMessageMap<CPageDlg>(kPageMessages);
}

TEST(DialogMessages, ButtonClicksReachTheirHandlersUnlessDisabled) {
    CPageDlg page;
    page.create(nullptr);
    page.clickControl(kRead);
    page.clickControl(kRead);
    page.clickControl(kSelectAll);
    EXPECT_EQ(page.reads, 2);
    EXPECT_EQ(page.selectAlls, 1);
    EXPECT_TRUE(page.isChecked(kSelectAll));

    page.clickControl(kOff);
    EXPECT_EQ(page.offs, 0);
    page.enableControl(kOff, true);
    page.clickControl(kOff);
    EXPECT_EQ(page.offs, 1);
}

TEST(DialogMessages, OnlyTheOperatorsSelectionNotifies) {
    CPageDlg page;
    page.create(nullptr);
    page.setCurSel(kPort, 1);
    page.setWindowText(kPort, "COM1");
    EXPECT_EQ(page.portChanges, 0);

    page.selectAsUser(kPort, 1);
    EXPECT_EQ(page.portChanges, 1);
    EXPECT_EQ(page.curSel(kPort), 1);
    page.selectAsUser(kPort, 5);  // no such item
    EXPECT_EQ(page.portChanges, 1);
    EXPECT_EQ(page.curSel(kPort), 1);

    page.enableControl(kPort, false);
    page.selectAsUser(kPort, 0);
    EXPECT_EQ(page.portChanges, 1);
    EXPECT_EQ(page.curSel(kPort), 1);
}

TEST(DialogMessages, EditChangesNotifyForProgramAndOperatorAlike) {
    CPageDlg page;
    page.create(nullptr);
    page.setWindowText(kAddress, "1");
    EXPECT_EQ(page.addressChanges, 1);
    page.typeAsUser(kAddress, "12");
    EXPECT_EQ(page.addressChanges, 2);
    EXPECT_EQ(page.windowText(kAddress), "12");

    page.typeAsUser(kLocked, "x");  // read-only: the operator cannot type there
    EXPECT_EQ(page.windowText(kLocked), "版本");
    page.enableControl(kAddress, false);
    page.typeAsUser(kAddress, "3");
    EXPECT_EQ(page.windowText(kAddress), "12");
    EXPECT_EQ(page.addressChanges, 2);
}

TEST(DialogMessages, TabStripNotifiesOnlyForTheOperatorsSwitch) {
    CPageDlg page;
    page.create(nullptr);
    CTabCtrl* tabs = page.tabCtrl(kTabs);
    tabs->insertItem(0, "通讯参数设置");
    tabs->insertItem(1, "蓄电池组数据");
    tabs->insertItem(2, "电池电压");
    tabs->setCurSel(2);
    page.setCurSel(kTabs, 1);
    EXPECT_EQ(page.tabChanges, 0);
    EXPECT_EQ(page.curSel(kTabs), 1);
    EXPECT_EQ(page.itemText(kTabs, 2), "电池电压");

    page.selectAsUser(kTabs, 0);
    EXPECT_EQ(page.tabChanges, 1);
    tabs->selectAsUser(0);  // already current: nothing changes
    EXPECT_EQ(page.tabChanges, 1);
    tabs->tabBar()->setCurrentIndex(2);  // as a click on the strip itself
    EXPECT_EQ(page.tabChanges, 2);
    EXPECT_EQ(tabs->curSel(), 2);
}

TEST(DialogMessages, TreeItemClickNotifies) {
    CPageDlg page;
    page.create(nullptr);
    CCheckTree* tree = page.checkTree(kTree);
    QTreeWidgetItem* root = tree->insertItem("曲线组");
    QTreeWidgetItem* first = tree->insertItem("电池1", root);
    tree->clickItemAsUser(first);
    EXPECT_EQ(page.treeClicks, 1);
    EXPECT_EQ(tree->currentItem(), first);
    EXPECT_FALSE(tree->getCheck(first));  // a click on the text leaves the mark alone
}

TEST(DialogMessages, ModelessPageIsAHiddenChildThatEscapeCannotClose) {
    QWidget owner;
    CPageDlg page;
    page.create(&owner);
    EXPECT_EQ(page.parentWidget(), &owner);
    EXPECT_FALSE(page.isWindow());
    EXPECT_TRUE(page.isHidden());
    EXPECT_EQ(page.inits, 1);

    owner.resize(800, 600);
    owner.show();
    page.show();
    EXPECT_EQ(page.pos(), QPoint(0, 0));  // where its owner left it, not centred
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(&page, &escape);
    EXPECT_TRUE(page.isVisible());
    EXPECT_EQ(page.cancels, 0);
}

TEST(DialogMessages, OkAndCancelButtonsEndTheModalRun) {
    CPageDlg dialog;
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.clickControl(IDOK); });
    EXPECT_EQ(dialog.doModal(), IDOK);
    EXPECT_EQ(dialog.oks, 1);
    EXPECT_EQ(dialog.inits, 1);

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.clickControl(IDCANCEL); });
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancels, 1);

    QTimer::singleShot(0, &dialog, [&dialog] { dialog.close(); });  // the window's close box
    EXPECT_EQ(dialog.doModal(), IDCANCEL);
    EXPECT_EQ(dialog.cancels, 2);
    EXPECT_FALSE(dialog.isVisible());
}

TEST(DialogMessages, ModalHookAnswersWithoutShowingAndMayWorkTheDialog) {
    ModalHookReset reset;
    bool sawVisible = true;
    CDialog::setModalHook([&sawVisible](CDialog& dialog) -> std::optional<int> {
        sawVisible = dialog.isVisible();
        dialog.typeAsUser(kAddress, "7");
        dialog.clickControl(kRead);
        return 42;
    });
    CPageDlg dialog;
    EXPECT_EQ(dialog.doModal(), 42);
    EXPECT_FALSE(sawVisible);
    EXPECT_EQ(dialog.inits, 1);
    EXPECT_EQ(dialog.reads, 1);
    EXPECT_EQ(dialog.addressChanges, 1);

    // A hook that declines leaves the dialog to run as usual.
    CDialog::setModalHook([](CDialog&) -> std::optional<int> { return std::nullopt; });
    QTimer::singleShot(0, &dialog, [&dialog] { dialog.clickControl(IDOK); });
    EXPECT_EQ(dialog.doModal(), IDOK);
}

}  // namespace
