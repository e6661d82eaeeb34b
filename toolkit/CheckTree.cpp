// CCheckTree: a one-column QTreeWidget whose items all carry check boxes.
#include "CheckTree.h"

#include "Utf8.h"

namespace {

QTreeWidgetItem* findBelow(QTreeWidgetItem* item, const QString& text) {
    if (item->text(0) == text) {
        return item;
    }
    for (int i = 0; i < item->childCount(); ++i) {
        if (QTreeWidgetItem* found = findBelow(item->child(i), text)) {
            return found;
        }
    }
    return nullptr;
}

}  // namespace

CCheckTree::CCheckTree(QWidget* parent) : QTreeWidget(parent) {
    setColumnCount(1);
    setHeaderHidden(true);
    setRootIsDecorated(true);
    setUniformRowHeights(true);
    setSelectionMode(QAbstractItemView::SingleSelection);
    connect(this, &QTreeWidget::itemPressed, this, [this](QTreeWidgetItem* item) {
        m_pressed = item;
        m_markAtPress = getCheck(item);
    });
}

QTreeWidgetItem* CCheckTree::insertItem(std::string_view text, QTreeWidgetItem* parent) {
    if (parent != nullptr && parent->treeWidget() != this) {
        return nullptr;  // an item of another tree (or of none) cannot take children here
    }
    auto* item = new QTreeWidgetItem(QStringList{qstr(text)});
    item->setFlags(item->flags() | Qt::ItemIsUserCheckable);
    item->setCheckState(0, Qt::Unchecked);  // shows the box from the start
    if (parent != nullptr) {
        parent->addChild(item);
    } else {
        addTopLevelItem(item);
    }
    return item;
}

void CCheckTree::setCheck(QTreeWidgetItem* item, bool checked) {
    if (item != nullptr) {
        item->setCheckState(0, checked ? Qt::Checked : Qt::Unchecked);
    }
}

bool CCheckTree::getCheck(const QTreeWidgetItem* item) const {
    return item != nullptr && item->checkState(0) == Qt::Checked;
}

std::vector<QTreeWidgetItem*> CCheckTree::children(QTreeWidgetItem* parent) const {
    std::vector<QTreeWidgetItem*> result;
    const int count = parent != nullptr ? parent->childCount() : topLevelItemCount();
    for (int i = 0; i < count; ++i) {
        result.push_back(parent != nullptr ? parent->child(i) : topLevelItem(i));
    }
    return result;
}

QTreeWidgetItem* CCheckTree::findItem(std::string_view text) const {
    const QString wanted = qstr(text);
    for (int i = 0; i < topLevelItemCount(); ++i) {
        if (QTreeWidgetItem* found = findBelow(topLevelItem(i), wanted)) {
            return found;
        }
    }
    return nullptr;
}

void CCheckTree::clickItemAsUser(QTreeWidgetItem* item) {
    if (item == nullptr || item->treeWidget() != this || !isEnabled()) {
        return;
    }
    emit itemPressed(item, 0);
    setCurrentItem(item);
    emit itemClicked(item, 0);
}

bool CCheckTree::clickTurnedMark(const QTreeWidgetItem* item) const {
    return item != nullptr && item == m_pressed && getCheck(item) != m_markAtPress;
}
