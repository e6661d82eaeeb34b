// Tab control: a tab strip over a page area in which the pages live.
#pragma once

#include <QWidget>
#include <string>
#include <string_view>

class QTabBar;

class CTabCtrl : public QWidget {
  public:
    explicit CTabCtrl(QWidget* parent = nullptr);

    void insertItem(int index, std::string_view text);
    int itemCount() const;
    std::string itemText(int index) const;
    int curSel() const;
    void setCurSel(int index);     // no notification, as a program does it
    void selectAsUser(int index);  // as a click on the strip does: notifies
    QWidget* pageArea() const { return m_area; }
    QTabBar* tabBar() const { return m_bar; }

  private:
    QTabBar* m_bar;
    QWidget* m_area;
};
