// Continuous reading from a device that does not answer (another address is set): the
// operator's stop click, Space on the button, a tab switch and the close button all come
// while a tick waits on the line, as they do for a technician, and each is carried out
// once that tick ends, before any further tick starts.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTabBar>
#include <QTimer>

#include "MainDlg.h"
#include "PageHarness.h"
#include "ReadingPage.h"
#include "Strings.h"
#include "TabCtrl.h"
#include "ids/BankIds.h"
#include "ids/CellIds.h"
#include "ids/CurrentIds.h"
#include "ids/MainIds.h"

namespace {

struct ReadingTab {
    int tab;
    int startStop;
    int failCount;
};
const ReadingTab kReadingTabs[] = {
    {1, idc::bank::kStartStop, idc::bank::kFailCount},
    {2, idc::cell::kStartStop, idc::cell::kFailCount},
    {3, idc::cell::kStartStop, idc::cell::kFailCount},
    {4, idc::cell::kStartStop, idc::cell::kFailCount},
};
constexpr int kCurrentTab = 5;

// A press and a release, as the window system delivers a click.
void operatorClick(QWidget* widget, QPoint at) {
    for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
        QMouseEvent event(type, at, widget->mapToGlobal(at), Qt::LeftButton,
                          type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                          Qt::NoModifier);
        QApplication::sendEvent(widget, &event);
    }
}

void operatorSpace(QWidget* widget) {
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, Qt::Key_Space, Qt::NoModifier, " ");
        QApplication::sendEvent(widget, &event);
    }
}

class SilentReading : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        dlg = std::make_unique<CMainDlg>();
        dlg->create(nullptr);
        dlg->show();
        LinkSettings::deviceAddress = 2;  // the device answers address 1 only
    }
    void TearDown() override {
        dlg.reset();
        PageHarness::TearDown();
    }

    CTabCtrl* tabs() const { return dlg->tabCtrl(idc::main_window::kTabs); }

    // Starts reading on `reading`'s page and, once its first tick waits on the line, does
    // what `act` does there. Returns how many requests had gone out by then.
    uint64_t actDuringATick(const ReadingTab& reading, const std::function<void()>& act) {
        tabs()->selectAsUser(reading.tab);
        CDialog* page = dlg->page(reading.tab);
        page->clickControl(reading.startStop);
        EXPECT_EQ(page->windowText(reading.startStop), kStopReadingCaption);
        bool duringTick = false;
        uint64_t sent = 0;
        // The first tick comes at 500 ms and waits a second for its reply.
        QTimer::singleShot(800, dlg.get(), [&] {
            duringTick = CDialog::handlerRunning();
            sent = device.requestsSeen();
            act();
        });
        runEventsUntil([&] { return sent > 0; }, 5000);
        EXPECT_TRUE(duringTick) << "tab " << reading.tab;
        return sent;
    }

    // The reading stopped: idle caption, no timer, the port given back, and no tick after
    // the one that was waiting.
    void expectStopped(const ReadingTab& reading, uint64_t sent) {
        CDialog* page = dlg->page(reading.tab);
        EXPECT_TRUE(runEventsUntil([&] { return LinkSettings::portHandle == nullptr; }, 3000))
            << "tab " << reading.tab;
        EXPECT_EQ(page->windowText(reading.startStop), kStartReadingCaption);
        EXPECT_FALSE(page->hasTimer(kContinuousReadTimerId));
        runEventsFor(700);
        EXPECT_EQ(device.requestsSeen(), sent) << "tab " << reading.tab;
        EXPECT_EQ(page->windowText(reading.failCount), "1");
    }

    std::unique_ptr<CMainDlg> dlg;
};

}  // namespace

TEST_F(SilentReading, AStopClickDuringATickStopsEveryReadingPage) {
    for (const ReadingTab& reading : kReadingTabs) {
        QWidget* button = dlg->page(reading.tab)->control(reading.startStop);
        const uint64_t sent =
            actDuringATick(reading, [button] { operatorClick(button, button->rect().center()); });
        expectStopped(reading, sent);
        EXPECT_EQ(dlg->currentTab(), reading.tab);
    }
}

// Impatient clicks while the tick waits are all kept, in order: a second click starts the
// reading again, as it would on a device that answers.
TEST_F(SilentReading, SpaceOnTheButtonStopsAndEveryKeptClickCounts) {
    const ReadingTab& bank = kReadingTabs[0];
    QWidget* button = dlg->page(bank.tab)->control(bank.startStop);
    const uint64_t sent = actDuringATick(bank, [button] { operatorSpace(button); });
    expectStopped(bank, sent);

    actDuringATick(bank, [button] {
        operatorClick(button, button->rect().center());
        operatorClick(button, button->rect().center());
    });
    EXPECT_TRUE(runEventsUntil([&] { return dlg->page(bank.tab)->hasTimer(1); }, 3000));
    dlg->page(bank.tab)->clickControl(bank.startStop);
    EXPECT_EQ(LinkSettings::portHandle, nullptr);
}

TEST_F(SilentReading, ATabClickDuringATickLeavesEveryReadingPage) {
    for (const ReadingTab& reading : kReadingTabs) {
        QTabBar* bar = tabs()->tabBar();
        const uint64_t sent = actDuringATick(
            reading, [bar] { operatorClick(bar, bar->tabRect(kCurrentTab).center()); });
        expectStopped(reading, sent);
        EXPECT_EQ(dlg->currentTab(), kCurrentTab);
        EXPECT_EQ(dlg->currentPage(), dlg->page(kCurrentTab));
    }
}

TEST_F(SilentReading, TheCloseButtonDuringATickClosesTheWindowAfterIt) {
    for (const ReadingTab& reading : kReadingTabs) {
        dlg->show();
        const uint64_t sent = actDuringATick(reading, [this] { dlg->close(); });
        EXPECT_TRUE(runEventsUntil([&] { return !dlg->isVisible(); }, 3000))
            << "tab " << reading.tab;
        expectStopped(reading, sent);
    }
}

// A command is no tick: the window stays while it waits, and a later close works.
TEST_F(SilentReading, TheCloseButtonDuringACommandIsRefused) {
    tabs()->selectAsUser(kCurrentTab);
    QTimer::singleShot(300, dlg.get(), [this] { dlg->close(); });
    dlg->page(kCurrentTab)->clickControl(idc::current::kRead);
    EXPECT_EQ(takeMessage(), "读取失败");
    runEventsFor(300);
    EXPECT_TRUE(dlg->isVisible());
    dlg->close();
    EXPECT_FALSE(dlg->isVisible());
}
