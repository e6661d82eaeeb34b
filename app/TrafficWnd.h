// The traffic monitor "通讯监视": a modeless window beside the pages that lists every
// exchange of the process-wide traffic record. It only reads the record; it never uses
// the port, so it can stay open while the pages work.
#pragma once

#include <QWidget>
#include <string>

class QPushButton;
class QTableView;
class QTimer;
class CTrafficModel;

class CTrafficWnd : public QWidget {
  public:
    // How often a shown window takes in new exchanges, in one batch.
    static constexpr int kRefreshMs = 200;

    explicit CTrafficWnd(QWidget* owner);
    ~CTrafficWnd() override;

    // Shows the monitor of `owner` (made on first use) and brings it to the front: opening
    // it again raises the same window.
    static CTrafficWnd* showFor(QWidget* owner);
    // The monitor of `owner`; null before it was first shown.
    static CTrafficWnd* of(const QWidget* owner);

    // Takes in what the record gained since the last refresh; rows that left the ring leave
    // the view. The view follows new rows while it is scrolled to the end.
    void refresh();
    // Writes the rows shown to `path` (UTF-8); on failure says why in a message box, keeps
    // the rows and returns false.
    bool saveTo(const std::string& path);
    // "清除": empties the record and the view.
    void clearRows();

    QTableView* view() const { return m_view; }
    QPushButton* saveButton() const { return m_save; }
    QPushButton* clearButton() const { return m_clear; }

  protected:
    void showEvent(QShowEvent* event) override;
    void hideEvent(QHideEvent* event) override;

  private:
    void askAndSave();

    CTrafficModel* m_model;
    QTableView* m_view;
    QPushButton* m_save;
    QPushButton* m_clear;
    QTimer* m_timer;
};
