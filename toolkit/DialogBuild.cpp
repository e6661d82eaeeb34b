// Builds a dialog's controls from its template: one widget per control, radio groups,
// grid placement in the dialog or its group boxes, initial state and notifications.
#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QItemSelectionModel>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <algorithm>
#include <map>
#include <set>

#include "CheckTree.h"
#include "Dialog.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "Utf8.h"

namespace {

constexpr int kMaxGridIndex = 255;  // a mistyped cell must not allocate a huge grid
constexpr int kEditPaddingPx = 6;   // the text margins inside an edit's frame
constexpr int kBoxMarginPx = 5;     // between a group box's frame and its controls
constexpr int kBoxRowSpacingPx = 1;

QWidget* makeButtonLike(const ControlTemplate& c, QWidget* parent) {
    const QString caption = qstr(c.caption);
    if (c.kind == ControlKind::CheckBox) {
        auto* box = new QCheckBox(caption, parent);
        box->setChecked((c.style & kChecked) != 0);
        return box;
    }
    if (c.kind == ControlKind::RadioButton) {
        auto* radio = new QRadioButton(caption, parent);
        radio->setAutoExclusive(false);  // exclusivity comes from the template's groups
        return radio;
    }
    auto* button = new QPushButton(caption, parent);
    // Only the template's default button answers Enter: a button that once had the focus
    // must not become the one Enter presses from every edit of its page.
    button->setAutoDefault(false);
    button->setDefault((c.style & kDefaultButton) != 0);
    return button;
}

QWidget* makeEdit(const ControlTemplate& c, QWidget* parent) {
    auto* edit = new QLineEdit(qstr(c.caption), parent);
    if ((c.style & kPassword) != 0) {
        edit->setEchoMode(QLineEdit::Password);
    }
    edit->setReadOnly((c.style & kReadOnly) != 0);
    if (c.chars > 0) {
        const int digits = edit->fontMetrics().horizontalAdvance(QString(c.chars + 1, u'0'));
        edit->setFixedWidth(digits + 2 * edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth) +
                            kEditPaddingPx);
    }
    edit->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);  // keep forms compact
    return edit;
}

QWidget* makeDropList(const ControlTemplate& c, QWidget* parent) {
    auto* combo = new QComboBox(parent);
    combo->setEditable(false);
    for (const auto& item : c.items) {
        combo->addItem(qstr(item));
    }
    combo->setCurrentIndex(-1);  // a drop list starts with nothing chosen
    return combo;
}

QWidget* makeWidget(const ControlTemplate& c, QWidget* parent) {
    switch (c.kind) {
        case ControlKind::PushButton:
        case ControlKind::CheckBox:
        case ControlKind::RadioButton:
            return makeButtonLike(c, parent);
        case ControlKind::Edit:
            return makeEdit(c, parent);
        case ControlKind::GroupBox:
            return new QGroupBox(qstr(c.caption), parent);
        case ControlKind::DropList:
            return makeDropList(c, parent);
        case ControlKind::ListView:
            return new CReportList(parent);
        case ControlKind::TreeView:
            return new CCheckTree(parent);
        case ControlKind::TabControl:
            return new CTabCtrl(parent);
        case ControlKind::Static:
            break;
    }
    auto* label = new QLabel(qstr(c.caption), parent);
    label->setTextFormat(Qt::PlainText);
    return label;
}

// Radio groups: a group starts at a control marked kGroupStart and runs to the next such
// control of the same group box.
class RadioGroups {
  public:
    explicit RadioGroups(QObject* owner) : m_owner(owner) {}

    void add(const ControlTemplate& c, QWidget* widget) {
        if ((c.style & kGroupStart) != 0) {
            m_open.erase(c.box);
        }
        auto* radio = dynamic_cast<QRadioButton*>(widget);
        if (radio == nullptr) {
            return;
        }
        QButtonGroup*& group = m_open[c.box];
        if (group == nullptr) {
            group = new QButtonGroup(m_owner);
            group->setExclusive(true);  // none checked is still allowed until one is chosen
        }
        group->addButton(radio);
        radio->setChecked((c.style & kChecked) != 0);
    }

  private:
    QObject* m_owner;
    std::map<int, QButtonGroup*> m_open;  // group box -> its current radio group
};

// Small forms keep their natural size at the top left; a grid that holds a list, tree or
// tab control (directly or in a nested group box) fills its owner so that control can grow.
QGridLayout* makeGrid(QWidget* owner, bool expanding) {
    auto* grid = new QGridLayout(owner);
    if (!expanding) {
        grid->setAlignment(Qt::AlignTop | Qt::AlignLeft);
    }
    return grid;
}

bool isExpandingKind(ControlKind kind) {
    return kind == ControlKind::ListView || kind == ControlKind::TreeView ||
           kind == ControlKind::TabControl;
}

// Group box keys (0: the dialog) whose grid holds an expanding control somewhere inside.
std::set<int> expandingBoxes(const std::vector<ControlTemplate>& controls) {
    std::map<int, int> parentOf;  // boxKey -> the box its group box sits in
    for (const ControlTemplate& c : controls) {
        if (c.kind == ControlKind::GroupBox && c.boxKey != 0) {
            parentOf.try_emplace(c.boxKey, c.box);
        }
    }
    std::set<int> boxes;
    for (const ControlTemplate& c : controls) {
        if (!isExpandingKind(c.kind)) {
            continue;
        }
        int key = parentOf.contains(c.box) ? c.box : 0;
        // Bounded walk up the chain of group boxes: a loop in a broken template ends it.
        for (std::size_t steps = 0; steps <= parentOf.size(); ++steps) {
            boxes.insert(key);
            if (key == 0) {
                break;
            }
            const int up = parentOf.at(key);
            key = parentOf.contains(up) ? up : 0;
        }
        boxes.insert(0);
    }
    return boxes;
}

// The group box control `i` is placed in: 0 (the dialog) when its box is unknown or the
// chain of group boxes leads back to itself.
int placementBox(const std::vector<ControlTemplate>& controls,
                 const std::map<int, std::size_t>& owners, std::size_t i) {
    const int own = controls[i].box;
    if (own == 0 || !owners.contains(own)) {
        return 0;
    }
    std::set<std::size_t> seen;
    for (int key = own; key != 0;) {
        const auto it = owners.find(key);
        if (it == owners.end()) {
            break;
        }
        if (it->second == i) {
            return 0;
        }
        if (!seen.insert(it->second).second) {
            break;  // a loop further up; the group boxes in it settle that themselves
        }
        key = controls[it->second].box;
    }
    return own;
}

void addToGrid(QGridLayout* grid, QWidget* widget, const GridCell& cell) {
    const int row = std::clamp(cell.row, 0, kMaxGridIndex);
    const int column = std::clamp(cell.column, 0, kMaxGridIndex);
    grid->addWidget(widget, row, column, std::clamp(cell.rowSpan, 1, kMaxGridIndex),
                    std::clamp(cell.columnSpan, 1, kMaxGridIndex));
}

void applyInitialState(const ControlTemplate& c, QWidget* widget) {
    if ((c.style & kHidden) != 0) {
        widget->setHidden(true);
    }
    if ((c.style & kDisabled) != 0) {
        widget->setEnabled(false);
    }
}

}  // namespace

void CDialog::buildControls() {
    if (m_built) {
        return;
    }
    m_built = true;
    std::vector<QWidget*> widgets;
    RadioGroups radios(this);
    for (const auto& c : m_template.controls) {
        QWidget* widget = makeWidget(c, this);
        radios.add(c, widget);
        widgets.push_back(widget);
        // The first control with an id answers to it, as the platform's lookup does.
        if (c.id != kNoId && m_controls.emplace(c.id, widget).second) {
            wireControl(c.id, widget);
        }
    }
    placeControls(widgets);
    for (std::size_t i = 0; i < widgets.size(); ++i) {
        applyInitialState(m_template.controls[i], widgets[i]);
    }
    for (const std::string& fault : messageMapFaults()) {
        qWarning("KORVAL: %s", fault.c_str());
    }
}

bool CDialog::canNotify(ControlKind kind, Notify code) {
    switch (code) {
        case Notify::Clicked:
            return kind == ControlKind::PushButton || kind == ControlKind::CheckBox ||
                   kind == ControlKind::RadioButton || kind == ControlKind::TreeView;
        case Notify::SelChange:
            return kind == ControlKind::DropList || kind == ControlKind::TabControl ||
                   kind == ControlKind::ListView;
        case Notify::TextChange:
            return kind == ControlKind::Edit;
        case Notify::CheckChange:
            return kind == ControlKind::TreeView;
    }
    return false;
}

std::vector<std::string> CDialog::messageMapFaults() const {
    std::vector<std::string> faults;
    for (const auto& [key, handler] : m_messages) {
        const auto [id, code] = key;
        const auto c = std::find_if(m_template.controls.begin(), m_template.controls.end(),
                                    [id](const ControlTemplate& t) { return t.id == id; });
        const std::string row =
            "dialog " + std::to_string(m_template.id) + ", message map row " + std::to_string(id);
        if (c == m_template.controls.end()) {
            faults.push_back(row + ": no such control");
        } else if (!canNotify(c->kind, code)) {
            faults.push_back(row + ": its control cannot raise that notification");
        }
    }
    return faults;
}

void CDialog::placeControls(const std::vector<QWidget*>& widgets) {
    const auto& controls = m_template.controls;
    std::map<int, std::size_t> owners;  // boxKey -> index of its group box
    std::map<int, QGridLayout*> grids;  // boxKey -> the grid inside that group box
    const std::set<int> expanding = expandingBoxes(controls);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const ControlTemplate& c = controls[i];
        if (c.kind == ControlKind::GroupBox && c.boxKey != 0 && !owners.contains(c.boxKey)) {
            owners.emplace(c.boxKey, i);
            QGridLayout* grid = makeGrid(widgets[i], expanding.contains(c.boxKey));
            // Forms stack many group boxes: keep their insides tight so a page fits a
            // laptop screen.
            grid->setContentsMargins(kBoxMarginPx, kBoxMarginPx, kBoxMarginPx, kBoxMarginPx);
            grid->setVerticalSpacing(kBoxRowSpacingPx);
            grids.emplace(c.boxKey, grid);
        }
    }
    QGridLayout* dialogGrid = makeGrid(this, expanding.contains(0));
    dialogGrid->setVerticalSpacing(kBoxRowSpacingPx);
    for (std::size_t i = 0; i < controls.size(); ++i) {
        const int box = placementBox(controls, owners, i);
        addToGrid(box == 0 ? dialogGrid : grids.at(box), widgets[i], controls[i].cell);
    }
}

void CDialog::wireControl(int id, QWidget* widget) {
    if (auto* tab = dynamic_cast<CTabCtrl*>(widget)) {
        tab->setUserSelChangeHandler([this, id] { dispatch(id, Notify::SelChange); });
    } else if (auto* tree = dynamic_cast<CCheckTree*>(widget)) {
        connect(tree, &QTreeWidget::itemClicked, this,
                [this, id] { dispatch(id, Notify::Clicked); });
        // A mark turned by the Space key raises no click: it must be heard all the same.
        connect(tree, &QTreeWidget::itemChanged, this,
                [this, id] { dispatch(id, Notify::CheckChange); });
    } else if (auto* combo = dynamic_cast<QComboBox*>(widget)) {
        // activated: the user's choice only, never a programmatic selection
        connect(combo, &QComboBox::activated, this,
                [this, id] { dispatch(id, Notify::SelChange); });
    } else if (auto* list = dynamic_cast<CReportList*>(widget)) {
        // The row with the cursor moved, by mouse, key or program (emptying the list too).
        connect(list->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                [this, id] { dispatch(id, Notify::SelChange); });
    } else if (auto* edit = dynamic_cast<QLineEdit*>(widget)) {
        // textChanged also follows programmatic text, as an edit's change notification does
        connect(edit, &QLineEdit::textChanged, this,
                [this, id] { dispatch(id, Notify::TextChange); });
    } else if (auto* button = dynamic_cast<QAbstractButton*>(widget)) {
        connect(button, &QAbstractButton::clicked, this,
                [this, id] { dispatch(id, Notify::Clicked); });
    }
}

bool CDialog::subclassControl(int id, QWidget* widget) {
    const auto it = m_controls.find(id);
    if (it == m_controls.end() || widget == nullptr || widget == it->second) {
        return false;
    }
    QWidget* old = it->second;
    QWidget* holder = old->parentWidget();
    QLayout* layout = holder != nullptr ? holder->layout() : nullptr;
    QLayoutItem* item = layout != nullptr
                            ? layout->replaceWidget(old, widget, Qt::FindDirectChildrenOnly)
                            : nullptr;
    if (item == nullptr) {
        widget->setParent(holder);
        widget->setGeometry(old->geometry());
    }
    delete item;
    widget->setHidden(old->isHidden());
    widget->setEnabled(old->isEnabled());
    QObject::disconnect(old, nullptr, this, nullptr);
    it->second = widget;
    delete old;
    wireControl(id, widget);
    return true;
}
