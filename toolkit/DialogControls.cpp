// CDialog's control access by id. Every accessor tolerates an unknown id or a control of
// another kind: it answers empty, false, -1 or null and changes nothing; an unknown id is
// logged the first time it is asked for.
#include <QAbstractButton>
#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>

#include "CheckTree.h"
#include "Dialog.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "Utf8.h"

namespace {

template <class W>
W* controlAs(const CDialog& dialog, int id) {
    return dynamic_cast<W*>(dialog.control(id));
}

bool validIndex(const QComboBox* combo, int index) {
    return index >= 0 && index < combo->count();
}

// Unchecking the checked radio of an exclusive group needs the group's consent.
void setButtonChecked(QAbstractButton* button, bool checked) {
    QButtonGroup* group = button->group();
    if (!checked && group != nullptr && group->exclusive()) {
        group->setExclusive(false);
        button->setChecked(false);
        group->setExclusive(true);
        return;
    }
    button->setChecked(checked);
}

}  // namespace

QWidget* CDialog::control(int id) const {
    const auto it = m_controls.find(id);
    if (it != m_controls.end()) {
        return it->second;
    }
    if (m_unknownIds.insert(id).second) {
        qWarning("KORVAL: dialog %d has no control %d", m_template.id, id);
    }
    return nullptr;
}

CReportList* CDialog::reportList(int id) const {
    return controlAs<CReportList>(*this, id);
}

CCheckTree* CDialog::checkTree(int id) const {
    return controlAs<CCheckTree>(*this, id);
}

CTabCtrl* CDialog::tabCtrl(int id) const {
    return controlAs<CTabCtrl>(*this, id);
}

std::string CDialog::windowText(int id) const {
    QWidget* widget = control(id);
    if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        return combo->currentIndex() >= 0 ? utf8(combo->currentText()) : std::string();
    }
    if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        return utf8(edit->text());
    }
    if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        return utf8(button->text());
    }
    if (auto* label = dynamic_cast<QLabel*>(widget)) {
        return utf8(label->text());
    }
    if (auto* box = dynamic_cast<QGroupBox*>(widget)) {
        return utf8(box->title());
    }
    return {};
}

void CDialog::setWindowText(int id, std::string_view text) {
    QWidget* widget = control(id);
    const QString value = qstr(text);
    if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        if (const int index = combo->findText(value, Qt::MatchExactly); index >= 0) {
            combo->setCurrentIndex(index);
        }
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        edit->setText(value);
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        button->setText(value);
    } else if (auto* label = dynamic_cast<QLabel*>(widget)) {
        label->setText(value);
    } else if (auto* box = dynamic_cast<QGroupBox*>(widget)) {
        box->setTitle(value);
    }
}

bool CDialog::isChecked(int id) const {
    const auto* button = controlAs<QAbstractButton>(*this, id);
    return button != nullptr && button->isChecked();
}

void CDialog::setChecked(int id, bool checked) {
    auto* button = controlAs<QAbstractButton>(*this, id);
    if (button != nullptr && button->isCheckable()) {
        setButtonChecked(button, checked);
    }
}

void CDialog::enableControl(int id, bool enable) {
    if (QWidget* widget = control(id)) {
        widget->setEnabled(enable);
    }
}

bool CDialog::isControlEnabled(int id) const {
    const QWidget* widget = control(id);
    return widget != nullptr && widget->isEnabled();
}

void CDialog::showControl(int id, bool show) {
    if (QWidget* widget = control(id)) {
        widget->setVisible(show);
    }
}

bool CDialog::isControlShown(int id) const {
    // isHidden, not isVisible: a control of a page that is not shown still counts as shown.
    const QWidget* widget = control(id);
    return widget != nullptr && !widget->isHidden();
}

int CDialog::curSel(int id) const {
    if (const auto* combo = controlAs<QComboBox>(*this, id)) {
        return combo->currentIndex();
    }
    if (const auto* tab = tabCtrl(id)) {
        return tab->curSel();
    }
    return -1;
}

void CDialog::setCurSel(int id, int index) {
    if (auto* combo = controlAs<QComboBox>(*this, id)) {
        combo->setCurrentIndex(validIndex(combo, index) ? index : -1);
    } else if (auto* tab = tabCtrl(id)) {
        tab->setCurSel(index);
    }
}

int CDialog::itemCount(int id) const {
    if (const auto* combo = controlAs<QComboBox>(*this, id)) {
        return combo->count();
    }
    if (const auto* tab = tabCtrl(id)) {
        return tab->itemCount();
    }
    return 0;
}

std::string CDialog::itemText(int id, int index) const {
    if (const auto* combo = controlAs<QComboBox>(*this, id)) {
        return validIndex(combo, index) ? utf8(combo->itemText(index)) : std::string();
    }
    if (const auto* tab = tabCtrl(id)) {
        return tab->itemText(index);
    }
    return {};
}

std::vector<std::string> CDialog::items(int id) const {
    std::vector<std::string> result;
    const int count = itemCount(id);
    for (int i = 0; i < count; ++i) {
        result.push_back(itemText(id, i));
    }
    return result;
}

void CDialog::resetContent(int id) {
    if (auto* combo = controlAs<QComboBox>(*this, id)) {
        combo->clear();
    }
}

void CDialog::addString(int id, std::string_view text) {
    if (auto* combo = controlAs<QComboBox>(*this, id)) {
        const int before = combo->currentIndex();
        combo->addItem(qstr(text));
        combo->setCurrentIndex(before);  // adding never chooses an item, even the first
    }
}

void CDialog::clickControl(int id) {
    if (auto* button = controlAs<QAbstractButton>(*this, id)) {
        button->click();  // does nothing while disabled, as a real click
    }
}

void CDialog::selectAsUser(int id, int index) {
    if (auto* combo = controlAs<QComboBox>(*this, id)) {
        if (combo->isEnabled() && validIndex(combo, index)) {
            combo->setCurrentIndex(index);
            dispatch(id, Notify::SelChange);
        }
    } else if (auto* tab = tabCtrl(id)) {
        tab->selectAsUser(index);
    } else if (auto* list = reportList(id)) {
        if (list->isEnabled() && index < list->rowCount()) {
            list->selectRow(index);  // the list's own notification follows
        }
    }
}

void CDialog::typeAsUser(int id, std::string_view text) {
    auto* edit = controlAs<QLineEdit>(*this, id);
    if (edit != nullptr && edit->isEnabled() && !edit->isReadOnly()) {
        edit->setText(qstr(text));
    }
}
