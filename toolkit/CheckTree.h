// Tree view whose items carry check boxes. A click on an item's box toggles its check mark
// before itemClicked is raised.
#pragma once

#include <QTreeWidget>
#include <string>
#include <string_view>
#include <vector>

class CCheckTree : public QTreeWidget {
  public:
    explicit CCheckTree(QWidget* parent = nullptr);

    QTreeWidgetItem* insertItem(std::string_view text, QTreeWidgetItem* parent = nullptr);
    void setCheck(QTreeWidgetItem* item, bool checked);
    bool getCheck(const QTreeWidgetItem* item) const;
    std::vector<QTreeWidgetItem*> children(QTreeWidgetItem* parent = nullptr) const;
    QTreeWidgetItem* findItem(std::string_view text) const;  // first item with that text

    // What a click on an item's text does: presses it, makes it current and raises
    // itemClicked (check marks change only through the box). Does nothing for a foreign item
    // or when disabled.
    void clickItemAsUser(QTreeWidgetItem* item);
    // Whether the click now being told has turned the item's mark itself (its box was hit):
    // the mark differs from what it was when the mouse went down on the item.
    bool clickTurnedMark(const QTreeWidgetItem* item) const;

  private:
    const QTreeWidgetItem* m_pressed = nullptr;  // compared, never followed
    bool m_markAtPress = false;
};
