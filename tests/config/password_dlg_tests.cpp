// The factory-mode password prompt on its own: its buttons, and what each one ends with.
#include <gtest/gtest.h>

#include <QApplication>
#include <QKeyEvent>
#include <QTimer>

#include "PasswordDlg.h"
#include "ids/SystemParamIds.h"

namespace {

// Runs the prompt modally; `answer` works it once it is shown.
int runPrompt(CPasswordDlg& prompt, const std::function<void()>& answer) {
    QTimer::singleShot(50, &prompt, answer);
    QTimer::singleShot(5000, &prompt, [&prompt] { prompt.done(-1); });  // never hang
    return prompt.doModal();
}

TEST(PasswordDlg, OkTakesTheTextAndCancelOrEscapeDropIt) {
    {
        CPasswordDlg prompt;
        const int result = runPrompt(prompt, [&] {
            EXPECT_EQ(prompt.windowText(IDOK), "确定");
            EXPECT_EQ(prompt.windowText(IDCANCEL), "取消");
            prompt.typeAsUser(idc::password::kPassword, "417293");
            prompt.clickControl(IDOK);
        });
        EXPECT_EQ(result, IDOK);
        EXPECT_EQ(prompt.password(), "417293");
    }
    {
        CPasswordDlg prompt;
        const int result = runPrompt(prompt, [&] {
            prompt.typeAsUser(idc::password::kPassword, "417293");
            prompt.clickControl(IDCANCEL);
        });
        EXPECT_EQ(result, IDCANCEL);
        EXPECT_EQ(prompt.password(), "");
    }
    {
        CPasswordDlg prompt;
        const int result = runPrompt(prompt, [&] {
            QKeyEvent escape(QEvent::KeyPress, Qt::Key_Escape, Qt::NoModifier);
            QApplication::sendEvent(&prompt, &escape);
        });
        EXPECT_EQ(result, IDCANCEL);
    }
}

}  // namespace
