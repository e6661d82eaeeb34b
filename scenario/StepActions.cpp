// Operator input: tab clicks, button clicks, typing, list and tree choices, waiting, and
// answers queued for password dialogs. Input goes only to controls an operator could use.
#include <QAbstractButton>
#include <QApplication>
#include <QComboBox>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QTimer>
#include <utility>

#include "CheckTree.h"
#include "EventLoop.h"
#include "MainDlg.h"
#include "ReportList.h"
#include "ScenarioSession.h"
#include "ScenarioSteps.h"
#include "TabCtrl.h"
#include "ids/MainIds.h"

namespace {

std::string controlName(int id) {
    return "control " + std::to_string(id);
}

// An operator can neither reach a hidden control nor use a disabled one.
StepFailure findUsable(const CDialog* window, int id, QWidget*& control) {
    if (auto failure = findControl(window, id, control)) {
        return failure;
    }
    if (control->isHidden()) {
        return controlName(id) + " hidden";
    }
    if (!control->isEnabled()) {
        return controlName(id) + " disabled";
    }
    return std::nullopt;
}

template <class W>
StepFailure findUsableAs(const CDialog* window, int id, const char* kind, W*& widget) {
    QWidget* control = nullptr;
    if (auto failure = findUsable(window, id, control)) {
        return failure;
    }
    widget = dynamic_cast<W*>(control);
    if (widget == nullptr) {
        return controlName(id) + " is not " + kind;
    }
    return std::nullopt;
}

StepFailure selectTab(ScenarioSession& session, int index) {
    CTabCtrl* tabs = session.mainWindow().tabCtrl(idc::main_window::kTabs);
    if (tabs == nullptr || index >= tabs->itemCount()) {
        return "no tab " + std::to_string(index);
    }
    tabs->selectAsUser(index);
    return std::nullopt;
}

// A mouse click gives the control the focus first, as on the screen: what a focused button
// does to the keys pressed after it is part of what a scenario shows.
void focusAsByMouse(QWidget* control) {
    if ((control->focusPolicy() & Qt::ClickFocus) != 0) {
        control->setFocus(Qt::MouseFocusReason);
    }
}

StepFailure click(CDialog* window, int id) {
    QAbstractButton* button = nullptr;
    if (auto failure = findUsableAs(window, id, "a button", button)) {
        return failure;
    }
    focusAsByMouse(button);
    window->clickControl(id);
    return std::nullopt;
}

// The key as the keyboard sends it: its code, and the text it types.
std::pair<int, QString> keyOf(ScenarioKey key) {
    switch (key) {
        case ScenarioKey::Enter:
            return {Qt::Key_Return, QString()};
        case ScenarioKey::Escape:
            return {Qt::Key_Escape, QString()};
        case ScenarioKey::Space:
            return {Qt::Key_Space, QStringLiteral(" ")};
        case ScenarioKey::Up:
            return {Qt::Key_Up, QString()};
        case ScenarioKey::Down:
            return {Qt::Key_Down, QString()};
    }
    return {Qt::Key_unknown, QString()};
}

// The key goes where the keyboard sends it: to the control with the focus, and on to the
// windows around it while none takes it.
StepFailure pressKey(CDialog* window, int id, ScenarioKey key) {
    QWidget* control = nullptr;
    if (auto failure = findUsable(window, id, control)) {
        return failure;
    }
    control->setFocus(Qt::TabFocusReason);
    const auto [code, text] = keyOf(key);
    for (QEvent::Type type : {QEvent::KeyPress, QEvent::KeyRelease}) {
        QKeyEvent event(type, code, Qt::NoModifier, text);
        QApplication::sendEvent(control, &event);
    }
    return std::nullopt;
}

// A press and a release, as the window system delivers them, when the time comes.
StepFailure clickLater(CDialog* window, int ms, int id) {
    QAbstractButton* button = nullptr;
    if (auto failure = findUsableAs(window, id, "a button", button)) {
        return failure;
    }
    QTimer::singleShot(ms, button, [button] {
        const QPoint at = button->rect().center();
        for (QEvent::Type type : {QEvent::MouseButtonPress, QEvent::MouseButtonRelease}) {
            QMouseEvent event(type, at, button->mapToGlobal(at), Qt::LeftButton,
                              type == QEvent::MouseButtonPress ? Qt::LeftButton : Qt::NoButton,
                              Qt::NoModifier);
            QApplication::sendEvent(button, &event);
        }
    });
    return std::nullopt;
}

StepFailure type(CDialog* window, int id, const std::string& text) {
    QLineEdit* edit = nullptr;
    if (auto failure = findUsableAs(window, id, "an edit", edit)) {
        return failure;
    }
    if (edit->isReadOnly()) {
        return controlName(id) + " read-only";
    }
    window->typeAsUser(id, text);
    return std::nullopt;
}

// A row of a list view is chosen as a click on it does: the cursor moves to it.
StepFailure selectRow(CDialog* window, int id, int row) {
    CReportList* list = nullptr;
    if (auto failure = findUsableAs(window, id, "a drop-down list or a list view", list)) {
        return failure;
    }
    if (row >= list->rowCount()) {
        return controlName(id) + " with " + std::to_string(list->rowCount()) + " rows";
    }
    list->setFocus(Qt::MouseFocusReason);
    window->selectAsUser(id, row);
    return std::nullopt;
}

StepFailure select(CDialog* window, int id, int index) {
    if (window != nullptr && window->reportList(id) != nullptr) {
        return selectRow(window, id, index);
    }
    QComboBox* combo = nullptr;
    if (auto failure = findUsableAs(window, id, "a drop-down list", combo)) {
        return failure;
    }
    if (index >= combo->count()) {
        return controlName(id) + " with " + std::to_string(combo->count()) + " items";
    }
    window->selectAsUser(id, index);
    return std::nullopt;
}

StepFailure treeClick(CDialog* window, int id, const std::string& text) {
    CCheckTree* tree = nullptr;
    if (auto failure = findUsableAs(window, id, "a tree", tree)) {
        return failure;
    }
    QTreeWidgetItem* item = tree->findItem(text);
    if (item == nullptr) {
        return "no item " + quoted(text) + " in tree " + std::to_string(id);
    }
    tree->clickItemAsUser(item);
    return std::nullopt;
}

}  // namespace

StepFailure runAction(ScenarioSession& session, const Step& step) {
    CDialog* window = session.target();
    const int id = step.numbers.empty() ? 0 : step.numbers[0];
    switch (step.op) {
        case StepOp::Tab:
            return selectTab(session, id);
        case StepOp::Click:
            return click(window, id);
        case StepOp::ClickLater:
            return clickLater(window, id, step.numbers[1]);
        case StepOp::Type:
            return type(window, id, step.text);
        case StepOp::Select:
            return select(window, id, step.numbers[1]);
        case StepOp::TreeClick:
            return treeClick(window, id, step.text);
        case StepOp::Key:
            return pressKey(window, id, step.key);
        case StepOp::Wait:
            runEventsFor(id);  // timers fire and their handlers run, as in the program
            return std::nullopt;
        case StepOp::Password:
            session.passwords.push_back({step.line, step.source, step.text});
            return std::nullopt;
        case StepOp::PasswordCancel:
            session.passwords.push_back({step.line, step.source, std::nullopt});
            return std::nullopt;
        default:
            return "a step that is not an action";
    }
}
