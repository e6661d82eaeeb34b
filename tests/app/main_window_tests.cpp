// The main window as the program builds it, against the simulated device: start-up state,
// the page slot, and what leaving a page stops.
#include <QApplication>
#include <QContextMenuEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QMenu>
#include <QTabBar>
#include <QTimer>

#include "AboutDlg.h"
#include "CheckTree.h"
#include "MainDlg.h"
#include "PageHarness.h"
#include "ReadingPage.h"
#include "ReportList.h"
#include "Strings.h"
#include "TabCtrl.h"
#include "Templates.h"
#include "TrafficWnd.h"
#include "ids/AboutIds.h"
#include "ids/BankIds.h"
#include "ids/CellIds.h"
#include "ids/CommIds.h"
#include "ids/CurrentIds.h"
#include "ids/MainIds.h"
#include "ids/RecordAlarmIds.h"
#include "ids/RecordQueryIds.h"
#include "ids/ReportIds.h"

namespace {

class MainWindow : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        LinkSettings::portNumber = 0;  // as at load: the window's start-up sets them
        LinkSettings::baudRate = 0;
        LinkSettings::deviceAddress = 0;
        dlg = std::make_unique<CMainDlg>();
        dlg->create(nullptr);
        dlg->show();
    }
    void TearDown() override {
        dlg.reset();
        PageHarness::TearDown();
    }
    void selectTab(int tab) { dlg->tabCtrl(idc::main_window::kTabs)->selectAsUser(tab); }

    // Right-clicks `widget` as the operator does and returns the menu that opens (null when
    // none does); the caller closes it.
    static QMenu* rightClick(QWidget* widget) {
        const QPoint at(3, 3);
        QContextMenuEvent event(QContextMenuEvent::Mouse, at, widget->mapToGlobal(at));
        QApplication::sendEvent(widget, &event);
        return qobject_cast<QMenu*>(QApplication::activePopupWidget());
    }
    // The About item, the report's and the traffic monitor's beside it.
    static bool offersAbout(QWidget* widget) {
        QMenu* menu = rightClick(widget);
        const bool about = menu != nullptr && menu->actions().size() == 3 &&
                           menu->actions().front()->text() == QString::fromUtf8(IDS_ABOUTBOX) &&
                           menu->actions().at(1)->text() == QString::fromUtf8(kReportMenuCaption) &&
                           menu->actions().back()->text() == QString::fromUtf8(kTrafficMenuCaption);
        if (menu != nullptr) {
            menu->close();
        }
        return about;
    }

    std::unique_ptr<CMainDlg> dlg;
};

}  // namespace

TEST_F(MainWindow, StartsOnTheCommunicationPageWithDefaultLink) {
    EXPECT_EQ(g_pMainDlg, dlg.get());
    EXPECT_EQ(dlg->windowTitle().toStdString(), "KORVALVer1.1");
    EXPECT_FALSE(dlg->windowIcon().isNull());
    ASSERT_EQ(dlg->tabCtrl(idc::main_window::kTabs)->itemCount(), kPageCount);
    for (int i = 0; i < kPageCount; ++i) {
        EXPECT_EQ(dlg->tabCtrl(idc::main_window::kTabs)->itemText(i), kTabCaptions[i]);
    }
    EXPECT_EQ(dlg->currentTab(), 0);
    EXPECT_EQ(dlg->currentPage()->templateId(), IDD_COMM);
    EXPECT_EQ(LinkSettings::portNumber, 1);
    EXPECT_EQ(LinkSettings::baudRate, 9600);
    EXPECT_EQ(LinkSettings::deviceAddress, 1);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(MainWindow, PagesAreCreatedOnceAndOnlyShownAndHidden) {
    const int expected[] = {130, 133, 134, 135, 136, 137, 138, 139, 140};
    for (int tab = 0; tab < kPageCount; ++tab) {
        CDialog* page = dlg->page(tab);
        selectTab(tab);
        EXPECT_EQ(dlg->currentPage(), page);
        EXPECT_EQ(page->templateId(), expected[tab]);
        EXPECT_TRUE(page->isVisible());
        for (int other = 0; other < kPageCount; ++other) {
            if (other != tab) {
                EXPECT_TRUE(dlg->page(other)->isHidden()) << other;
            }
        }
    }
    // Showing the page already shown changes nothing.
    dlg->showPage(dlg->page(8));
    EXPECT_EQ(dlg->currentPage(), dlg->page(8));
}

TEST_F(MainWindow, LeavingAReadingPageStopsItAndClosesThePort) {
    selectTab(3);
    CDialog* page = dlg->page(3);
    page->clickControl(idc::cell::kStartStop);
    ASSERT_NE(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(page->windowText(idc::cell::kStartStop), kStopReadingCaption);
    EXPECT_FALSE(page->isControlEnabled(idc::resistance::kTestButton));
    ASSERT_TRUE(runEventsUntil([&] { return page->windowText(idc::cell::kOkCount) != "0"; }));

    selectTab(5);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_FALSE(page->hasTimer(kContinuousReadTimerId));
    EXPECT_EQ(page->windowText(idc::cell::kStartStop), kStartReadingCaption);
    EXPECT_TRUE(page->isControlEnabled(idc::resistance::kTestButton));
    const std::string okCount = page->windowText(idc::cell::kOkCount);

    device.clearRequests();
    runEventsFor(1200);
    EXPECT_TRUE(device.requests().empty());
    selectTab(3);
    EXPECT_EQ(page->windowText(idc::cell::kOkCount), okCount);  // counters keep their last values
    EXPECT_NE(page->reportList(idc::resistance::kLeftList)->itemText(0, 1), "");
    EXPECT_TRUE(messages.empty());
}

TEST_F(MainWindow, AboutBoxShowsTheProgramAndItsIcon) {
    std::string caption;
    std::string version;
    std::string ok;
    bool iconShown = false;
    CDialog::setModalHook([&](CDialog& about) -> std::optional<int> {
        caption = about.windowTitle().toStdString();
        for (const QLabel* label : about.findChildren<QLabel*>()) {
            if (label->text() == QString::fromUtf8("KORVAL 1.0 版")) {
                version = "shown";
            }
        }
        ok = about.windowText(IDOK);
        const auto* icon = qobject_cast<const QLabel*>(about.control(idc::about::kIcon));
        iconShown = icon != nullptr && !icon->pixmap().isNull();
        return IDOK;
    });
    dlg->showAbout();
    CDialog::setModalHook({});
    EXPECT_EQ(caption, "关于 KORVAL");
    EXPECT_EQ(version, "shown");
    EXPECT_EQ(ok, "确定");
    EXPECT_TRUE(iconShown);
}

// The pages are dialogs, which take a right click themselves; the About item must still
// come up on them and on everything in them but text fields, which keep their edit menu.
TEST_F(MainWindow, AboutIsOnTheContextMenuEverywhereButInTextFields) {
    EXPECT_TRUE(offersAbout(dlg->tabCtrl(idc::main_window::kTabs)->tabBar()));
    EXPECT_TRUE(offersAbout(dlg.get()));
    CDialog* comm = dlg->page(0);
    EXPECT_TRUE(offersAbout(comm));
    EXPECT_TRUE(offersAbout(comm->control(idc::comm::kPort)));
    EXPECT_TRUE(offersAbout(comm->control(idc::comm::kSettingsBox)));
    QMenu* editMenu = rightClick(comm->control(idc::comm::kAddress));
    ASSERT_NE(editMenu, nullptr);
    EXPECT_FALSE(editMenu->actions().isEmpty());
    for (const QAction* action : editMenu->actions()) {
        EXPECT_NE(action->text(), QString::fromUtf8(IDS_ABOUTBOX));
    }
    editMenu->close();

    selectTab(1);
    CDialog* bank = dlg->page(1);
    EXPECT_TRUE(offersAbout(bank->reportList(idc::bank::kVoltageList)->viewport()));
    EXPECT_TRUE(offersAbout(bank->control(idc::bank::kStartStop)));

    // Choosing the item opens the About box.
    std::string opened;
    CDialog::setModalHook([&](CDialog& about) -> std::optional<int> {
        opened = about.windowTitle().toStdString();
        return IDOK;
    });
    QMenu* menu = rightClick(bank);
    ASSERT_NE(menu, nullptr);
    menu->actions().front()->trigger();
    menu->close();
    CDialog::setModalHook({});
    EXPECT_EQ(opened, "关于 KORVAL");
}

// The monitor stays open beside the pages; choosing it again raises the same window, and
// closing it only hides it.
TEST_F(MainWindow, TheTrafficMonitorOpensFromTheContextMenuOnce) {
    for (int i = 0; i < 2; ++i) {
        QMenu* menu = rightClick(dlg->page(0));
        ASSERT_NE(menu, nullptr);
        menu->actions().back()->trigger();
        menu->close();
    }
    int count = 0;
    for (QObject* child : dlg->children()) {
        count += dynamic_cast<CTrafficWnd*>(child) != nullptr;
    }
    EXPECT_EQ(count, 1);
    CTrafficWnd* monitor = CTrafficWnd::of(dlg.get());
    ASSERT_NE(monitor, nullptr);
    EXPECT_TRUE(monitor->isVisible());
    EXPECT_FALSE(monitor->isModal());
    monitor->close();
    EXPECT_FALSE(monitor->isVisible());
    EXPECT_EQ(CTrafficWnd::of(dlg.get()), monitor);
    EXPECT_TRUE(dlg->isVisible());
}

TEST_F(MainWindow, EscapeDoesNotCloseTheProgram) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 0);
}

TEST_F(MainWindow, ClosingTheWindowReleasesThePort) {
    selectTab(1);
    dlg->page(1)->clickControl(idc::bank::kStartStop);
    ASSERT_NE(LinkSettings::portHandle, nullptr);
    dlg->close();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

// Every dialog the program builds has a registered template, and every row of its message
// map names a control of that template that can raise the row's notification.
TEST_F(MainWindow, EveryDialogsMessageMapFitsItsTemplate) {
    for (int id : {IDD_ABOUTBOX, IDD_MAIN, IDD_COMM, IDD_BANK, IDD_VOLTAGE, IDD_RESISTANCE,
                   IDD_TEMPERATURE, IDD_CURRENT, IDD_RECORD_QUERY, IDD_SYSTEM_PARAM, IDD_PROBE}) {
        EXPECT_EQ(dialogTemplate(id).id, id);
    }
    EXPECT_THROW(dialogTemplate(99), std::out_of_range);
    std::vector<const CDialog*> dialogs{dlg.get()};
    for (int tab = 0; tab < kPageCount; ++tab) {
        dialogs.push_back(dlg->page(tab));
    }
    const CAboutDlg about(dlg.get());
    dialogs.push_back(&about);
    for (const CDialog* dialog : dialogs) {
        EXPECT_EQ(dialog->messageMapFaults(), std::vector<std::string>{}) << dialog->templateId();
    }
}

// A continuous reading goes on under the About box, as it did on the original platform.
TEST_F(MainWindow, CountersKeepCountingUnderTheAboutBox) {
    selectTab(1);
    CDialog* bank = dlg->page(1);
    bank->clickControl(idc::bank::kStartStop);
    int before = -1;
    int during = -1;
    CDialog::setModalHook([&](CDialog&) -> std::optional<int> {
        before = std::stoi(bank->windowText(idc::bank::kOkCount));
        runEventsFor(1600);  // the box stays open this long
        during = std::stoi(bank->windowText(idc::bank::kOkCount));
        return IDOK;
    });
    dlg->runHandler([this] { dlg->showAbout(); });
    CDialog::setModalHook({});
    bank->clickControl(idc::bank::kStartStop);
    EXPECT_GE(during, before + 2);
}

// While a command waits on the line the window keeps painting, so a close request can come;
// the window stays until the command has given the port back.
TEST_F(MainWindow, AWindowWaitingOnTheLineKeepsPaintingAndStaysOpen) {
    selectTab(5);
    device.injectFault(FaultKind::Silent);
    int paintTicks = 0;
    QTimer painter;
    QObject::connect(&painter, &QTimer::timeout, [&] { ++paintTicks; });
    painter.start(50);
    QTimer::singleShot(300, dlg.get(), [this] { dlg->close(); });
    dlg->page(5)->clickControl(idc::current::kRead);  // waits its full second
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_GE(paintTicks, 10);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

// A record read waits in its own way while it runs; once it is over, a later wait of any
// page paints as before.
TEST_F(MainWindow, AfterARecordReadTheWindowStillPaintsWhileWaiting) {
    device.seedAlarmRecords(3);
    selectTab(6);
    dlg->page(6)->clickControl(idc::record_query::kAlarmRecords);
    CDialog* records = dlg->currentPage();
    records->clickControl(idc::alarm_records::kReadCount);
    records->clickControl(idc::alarm_records::kReadAll);
    ASSERT_EQ(records->reportList(idc::alarm_records::kList)->rowCount(), 3);
    ASSERT_TRUE(messages.empty());

    selectTab(5);
    device.injectFault(FaultKind::Silent);
    int paintTicks = 0;
    QTimer painter;
    QObject::connect(&painter, &QTimer::timeout, [&] { ++paintTicks; });
    painter.start(50);
    dlg->page(5)->clickControl(idc::current::kRead);  // waits its full second
    EXPECT_EQ(takeMessage(), "读取失败");
    EXPECT_GE(paintTicks, 10);
}
