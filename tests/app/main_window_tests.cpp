// The main window as the program builds it, against the simulated device: start-up state,
// the page slot, and what leaving a page stops.
#include <QKeyEvent>
#include <QLabel>
#include <QTabBar>

#include "CheckTree.h"
#include "MainDlg.h"
#include "PageHarness.h"
#include "ReadingPage.h"
#include "ReportList.h"
#include "Strings.h"
#include "TabCtrl.h"
#include "Templates.h"

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
    void selectTab(int tab) { dlg->tabCtrl(1000)->selectAsUser(tab); }

    std::unique_ptr<CMainDlg> dlg;
};

}  // namespace

TEST_F(MainWindow, StartsOnTheCommunicationPageWithDefaultLink) {
    EXPECT_EQ(g_pMainDlg, dlg.get());
    EXPECT_EQ(dlg->windowTitle().toStdString(), "KORVALVer1.1");
    EXPECT_FALSE(dlg->windowIcon().isNull());
    ASSERT_EQ(dlg->tabCtrl(1000)->itemCount(), kPageCount);
    for (int i = 0; i < kPageCount; ++i) {
        EXPECT_EQ(dlg->tabCtrl(1000)->itemText(i), kTabCaptions[i]);
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
    page->clickControl(1016);
    ASSERT_NE(LinkSettings::portHandle, nullptr);
    EXPECT_EQ(page->windowText(1016), kStopReadingCaption);
    EXPECT_FALSE(page->isControlEnabled(1123));
    ASSERT_TRUE(runEventsUntil([&] { return page->windowText(1021) != "0"; }));

    selectTab(5);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
    EXPECT_FALSE(page->hasTimer(kContinuousReadTimerId));
    EXPECT_EQ(page->windowText(1016), kStartReadingCaption);
    EXPECT_TRUE(page->isControlEnabled(1123));
    const std::string okCount = page->windowText(1021);

    device.clearRequests();
    runEventsFor(1200);
    EXPECT_TRUE(device.requests().empty());
    selectTab(3);
    EXPECT_EQ(page->windowText(1021), okCount);  // counters keep their last values
    EXPECT_NE(page->reportList(1024)->itemText(0, 1), "");
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
        const auto* icon = qobject_cast<const QLabel*>(about.control(128));
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

TEST_F(MainWindow, EscapeDoesNotCloseTheProgram) {
    QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
    QCoreApplication::sendEvent(dlg.get(), &escape);
    EXPECT_TRUE(dlg->isVisible());
    EXPECT_EQ(dlg->result(), 0);
}

TEST_F(MainWindow, ClosingTheWindowReleasesThePort) {
    selectTab(1);
    dlg->page(1)->clickControl(1019);
    ASSERT_NE(LinkSettings::portHandle, nullptr);
    dlg->close();
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}
