// Tab control: a tab strip over a page area in which the pages live. Every child widget of
// pageArea() fills the whole area, so pages made there stack in one place by themselves;
// where the area is smaller than a page needs, it scrolls.
#pragma once

#include <QWidget>
#include <functional>
#include <string>
#include <string_view>

class QScrollArea;
class QTabBar;

class CTabCtrl : public QWidget {
  public:
    explicit CTabCtrl(QWidget* parent = nullptr);
    ~CTabCtrl() override;

    void insertItem(int index, std::string_view text);
    int itemCount() const;
    std::string itemText(int index) const;
    int curSel() const;
    void setCurSel(int index);     // no notification, as a program does it
    void selectAsUser(int index);  // as a click on the strip does: notifies
    QWidget* pageArea() const { return m_area; }
    QTabBar* tabBar() const { return m_bar; }
    QScrollArea* pageScroll() const { return m_scroll; }  // holds pageArea()

    // Called when the selection changes by the user (a click or selectAsUser), never for
    // the program's own setCurSel or insertItem.
    void setUserSelChangeHandler(std::function<void()> handler);

  private:
    QTabBar* m_bar;
    QScrollArea* m_scroll;
    QWidget* m_area;
    bool m_silent = false;
    std::function<void()> m_onUserSelChange;
};
