// Handlers never overlap: nested dispatch is refused, a modal dialog opened by a handler
// keeps working, exceptions release the guard, and timer ticks wait for handlers; timers
// by id.
#include <gtest/gtest.h>

#include <QTimer>
#include <algorithm>
#include <stdexcept>

#include "Dialog.h"
#include "ToolkitTestSupport.h"

namespace {

constexpr int kFirst = 1101;
constexpr int kSecond = 1102;

const DialogTemplate kTwoButtons{
    400,
    "",
    "",
    10,
    {
        tpl::control(ControlKind::PushButton, kFirst, "一", {0, 0}),
        tpl::control(ControlKind::PushButton, kSecond, "二", {0, 1}),
        tpl::control(ControlKind::PushButton, IDOK, "确定", {1, 0}),
    },
};

// A dialog whose handlers are set per test, and which counts its timer ticks by id.
class CProbeDlg : public CDialog {
  public:
    explicit CProbeDlg(QWidget* parent = nullptr);

    void OnFirst() {
        ++firstRuns;
        if (first) {
            first();
        }
    }
    void OnSecond() {
        ++secondRuns;
        if (second) {
            second();
        }
    }

    std::function<void()> first, second;
    std::function<void(int)> tick;
    int firstRuns = 0, secondRuns = 0;
    std::vector<int> ticks;

  protected:
    void onTimer(int timerId) override {
        ticks.push_back(timerId);
        if (tick) {
            tick(timerId);
        }
    }
};

const MessageEntry<CProbeDlg> kProbeMessages[] = {
    {kFirst, Notify::Clicked, &CProbeDlg::OnFirst},
    {kSecond, Notify::Clicked, &CProbeDlg::OnSecond},
};

CProbeDlg::CProbeDlg(QWidget* parent) : CDialog(kTwoButtons, parent) {
    useMessageMap<CProbeDlg>(kProbeMessages);
}

int countOf(const std::vector<int>& ids, int id) {
    return static_cast<int>(std::count(ids.begin(), ids.end(), id));
}

TEST(HandlerGuard, DispatchInsideARunningHandlerIsRefused) {
    CProbeDlg page, other;
    page.create(nullptr);
    other.create(nullptr);
    bool runningInside = false;
    bool nestedAccepted = true;
    page.first = [&] {
        runningInside = CDialog::handlerRunning();
        page.clickControl(kSecond);
        other.clickControl(kFirst);
        nestedAccepted = page.runHandler([] {});
    };
    page.clickControl(kFirst);
    EXPECT_TRUE(runningInside);
    EXPECT_FALSE(nestedAccepted);
    EXPECT_EQ(page.secondRuns, 0);
    EXPECT_EQ(other.firstRuns, 0);

    EXPECT_FALSE(CDialog::handlerRunning());
    page.clickControl(kSecond);
    EXPECT_EQ(page.secondRuns, 1);
}

TEST(HandlerGuard, ModalDialogOpenedByAHandlerStillRunsItsOwnHandlers) {
    CProbeDlg page;
    page.create(nullptr);
    int modalResult = 0;
    bool innerNestedAccepted = true;
    page.first = [&] {
        CProbeDlg prompt(&page);
        prompt.first = [&] {
            prompt.clickControl(kSecond);  // the prompt's own handlers do not overlap either
            innerNestedAccepted = prompt.secondRuns > 0;
        };
        prompt.setTimer(9, 10);
        QTimer::singleShot(0, &prompt, [&] {
            prompt.clickControl(kFirst);
            page.clickControl(kSecond);  // the opener's dialog stays locked
            runEventsFor(100);           // the prompt's own ticks run: nothing of its runs
            prompt.clickControl(IDOK);
        });
        // Should the OK button be refused, end the run anyway rather than hang the test.
        QTimer::singleShot(5000, &prompt, [&prompt] { prompt.done(-1); });
        modalResult = prompt.doModal();
        EXPECT_FALSE(prompt.ticks.empty());
        EXPECT_EQ(prompt.firstRuns, 1);
    };
    page.clickControl(kFirst);
    EXPECT_EQ(modalResult, IDOK);
    EXPECT_FALSE(innerNestedAccepted);
    EXPECT_EQ(page.secondRuns, 0);
    EXPECT_FALSE(CDialog::handlerRunning());
}

TEST(HandlerGuard, ModalHookMayWorkADialogOpenedByAHandler) {
    ModalHookReset reset;
    CDialog::setModalHook([](CDialog& dialog) -> std::optional<int> {
        dialog.clickControl(kFirst);
        dialog.clickControl(IDOK);
        return dialog.result();
    });
    CProbeDlg page;
    page.create(nullptr);
    int promptRuns = 0;
    int modalResult = 0;
    page.first = [&] {
        CProbeDlg prompt(&page);
        modalResult = prompt.doModal();
        promptRuns = prompt.firstRuns;
    };
    page.clickControl(kFirst);
    EXPECT_EQ(promptRuns, 1);
    EXPECT_EQ(modalResult, IDOK);
}

TEST(HandlerGuard, AThrowingHandlerReleasesTheGuard) {
    CProbeDlg page;
    page.create(nullptr);
    EXPECT_THROW(page.runHandler([] { throw std::runtime_error("port gone"); }),
                 std::runtime_error);
    EXPECT_FALSE(CDialog::handlerRunning());

    // From a button the exception stops at the toolkit: no crash, and the next click runs.
    page.first = [] { throw std::runtime_error("port gone"); };
    page.clickControl(kFirst);
    EXPECT_FALSE(CDialog::handlerRunning());
    page.first = nullptr;
    page.clickControl(kFirst);
    EXPECT_EQ(page.firstRuns, 2);
}

TEST(HandlerGuard, TimerTicksArrivingDuringAnyHandlerAreDropped) {
    CProbeDlg reading, busy;
    reading.create(nullptr);
    busy.create(nullptr);
    reading.setTimer(1, 20);
    std::size_t ticksDuringHandler = 99;
    busy.first = [&] {
        runEventsFor(300);  // a nested event loop, as a message box runs one
        ticksDuringHandler = reading.ticks.size();
    };
    busy.clickControl(kFirst);
    EXPECT_EQ(ticksDuringHandler, 0u);
    EXPECT_TRUE(reading.hasTimer(1));
    EXPECT_TRUE(runEventsUntil([&] { return !reading.ticks.empty(); }));
}

// As on the platform, a page keeps ticking under a modal box that another window's handler
// opened (the About box over a continuous reading), while the opener's own ticks wait.
TEST(HandlerGuard, TicksGoOnUnderAModalBoxOpenedElsewhere) {
    CProbeDlg reading, opener;
    reading.create(nullptr);
    opener.create(nullptr);
    reading.setTimer(1, 20);
    opener.setTimer(2, 20);
    std::size_t readingTicks = 0;
    opener.first = [&] {
        CProbeDlg about(&opener);
        QTimer::singleShot(300, &about, [&] {
            readingTicks = reading.ticks.size();
            about.clickControl(IDOK);
        });
        QTimer::singleShot(5000, &about, [&about] { about.done(-1); });
        opener.ticks.clear();
        about.doModal();
        EXPECT_TRUE(opener.ticks.empty());
    };
    opener.clickControl(kFirst);
    EXPECT_GE(readingTicks, 3u);
}

TEST(HandlerGuard, TimersRunByIdRestartAndStop) {
    CProbeDlg page;
    page.create(nullptr);
    EXPECT_FALSE(page.hasTimer(3));
    page.setTimer(3, 60000);
    page.setTimer(3, 20);  // restarts with the new period
    page.setTimer(5, 20);
    EXPECT_TRUE(
        runEventsUntil([&] { return countOf(page.ticks, 3) >= 2 && countOf(page.ticks, 5) >= 2; }));

    page.killTimerById(3);
    page.killTimerById(77);  // unknown: nothing happens
    EXPECT_FALSE(page.hasTimer(3));
    EXPECT_TRUE(page.hasTimer(5));
    page.ticks.clear();
    EXPECT_TRUE(runEventsUntil([&] { return countOf(page.ticks, 5) >= 3; }));
    EXPECT_EQ(countOf(page.ticks, 3), 0);

    // A timer may be stopped from its own tick.
    page.killTimerById(5);
    page.ticks.clear();
    page.tick = [&page](int id) { page.killTimerById(id); };
    page.setTimer(7, 10);
    EXPECT_TRUE(runEventsUntil([&] { return !page.ticks.empty(); }));
    runEventsFor(200);
    EXPECT_EQ(page.ticks, std::vector<int>{7});
    EXPECT_FALSE(page.hasTimer(7));
}

}  // namespace
