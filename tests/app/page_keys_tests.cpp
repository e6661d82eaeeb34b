// Enter and Escape in every window the page slot can show (the nine pages and the record
// dialogs and the device scan), pressed as the keyboard sends them: whatever button had the focus
// before, no key sends a command, shows a message or changes what the slot shows.
#include <QApplication>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include "MainDlg.h"
#include "PageHarness.h"
#include "SystemParamPage.h"
#include "TabCtrl.h"
#include "ids/MainIds.h"
#include "ids/SystemParamIds.h"

namespace {

class PageKeys : public PageHarness {
  protected:
    void SetUp() override {
        PageHarness::SetUp();
        // A key that opened a dialog (the password prompt, say) would be a fault too.
        CDialog::setModalHook([this](CDialog&) -> std::optional<int> {
            ++dialogsOpened;
            return IDCANCEL;
        });
        dlg = std::make_unique<CMainDlg>();
        dlg->create(nullptr);
        dlg->show();
        dlg->activateWindow();
        // A button takes the focus, and with it the default, only in the active window.
        ASSERT_TRUE(QTest::qWaitForWindowActive(dlg.get()));
    }
    void TearDown() override {
        dlg.reset();
        CDialog::setModalHook({});
        PageHarness::TearDown();
    }

    // Enter (both of them) and Escape in `target`, with the focus there.
    static void pressKeys(QWidget* target) {
        target->setFocus(Qt::TabFocusReason);
        QTest::keyClick(target, Qt::Key_Return);
        QTest::keyClick(target, Qt::Key_Enter, Qt::KeypadModifier);
        QTest::keyClick(target, Qt::Key_Escape);
    }

    // The controls of `window` an operator can reach with the keyboard.
    template <class W>
    static std::vector<W*> reachable(const CDialog* window) {
        std::vector<W*> found;
        for (W* widget : window->findChildren<W*>()) {
            if (widget->isVisible() && widget->isEnabled() &&
                (widget->focusPolicy() & Qt::TabFocus) != 0) {
                found.push_back(widget);
            }
        }
        return found;
    }

    // Every window the slot can show: the pages and the record dialogs are the main
    // window's dialogs.
    std::vector<CDialog*> slotWindows() const {
        std::vector<CDialog*> windows;
        for (CDialog* window : dlg->findChildren<CDialog*>()) {
            windows.push_back(window);
        }
        return windows;
    }

    std::unique_ptr<CMainDlg> dlg;
    int dialogsOpened = 0;
};

}  // namespace

TEST_F(PageKeys, EnterAndEscapeDoNothingInAnyWindowOfTheSlot) {
    const auto windows = slotWindows();
    ASSERT_EQ(windows.size(), 14u);  // nine pages, four record dialogs, the device scan
    for (CDialog* window : windows) {
        SCOPED_TRACE(window->templateId());
        dlg->showPage(window);
        const auto edits = reachable<QLineEdit>(window);
        const auto buttons = reachable<QPushButton>(window);
        // Each button in turn had the focus (a click gives it); then Enter in the button
        // itself and in every edit of the window.
        for (QPushButton* button : buttons) {
            button->setFocus(Qt::MouseFocusReason);
            ASSERT_TRUE(button->hasFocus());
            pressKeys(button);
            for (QLineEdit* edit : edits) {
                pressKeys(edit);
            }
        }
        for (QWidget* control : reachable<QWidget>(window)) {
            pressKeys(control);
        }
        EXPECT_TRUE(device.requests().empty()) << device.requests().size();
        EXPECT_EQ(takeMessage(), "");
        EXPECT_EQ(dialogsOpened, 0);
        EXPECT_EQ(dlg->currentPage(), window);
        EXPECT_TRUE(window->isVisible());
        EXPECT_TRUE(dlg->isVisible());
    }
}

// What the operator saw: one "设置" clicked, then Enter in another group's edit.
TEST_F(PageKeys, EnterAfterASetSendsNothingMore) {
    dlg->tabCtrl(idc::main_window::kTabs)->selectAsUser(7);
    auto* page = dynamic_cast<CSystemParamPage*>(dlg->currentPage());
    ASSERT_NE(page, nullptr);
    QTest::mouseClick(page->control(idc::sysparam::kSetRelay), Qt::LeftButton);
    EXPECT_EQ(takeMessage(), "设置成功");
    ASSERT_EQ(device.requests().size(), 1u);
    QWidget* interval = page->control(idc::sysparam::kIrInterval);
    QTest::mouseClick(interval, Qt::LeftButton);
    QTest::keyClick(interval, Qt::Key_Return);
    EXPECT_EQ(device.requests().size(), 1u);
    EXPECT_EQ(takeMessage(), "");
}
