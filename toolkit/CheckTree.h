// Tree view whose items carry check boxes.
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
};
