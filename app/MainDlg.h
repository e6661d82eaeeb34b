// The main window: nine tab pages created once and then only shown and hidden, and the
// page slot in which record dialogs replace the record query page.
#pragma once

#include <array>
#include <vector>

#include "Dialog.h"

inline constexpr int kPageCount = 9;

class CMainDlg : public CDialog {
  public:
    explicit CMainDlg(QWidget* parent = nullptr);
    ~CMainDlg() override;

    // Shows `window` in the page slot and hides the one shown before.
    void showPage(CDialog* window);
    CDialog* currentPage() const { return m_pCurrentPage; }
    CDialog* page(int tab) const;
    int currentTab() const;
    void showAbout();
    // "生成报告...": the maintenance report dialog, modal.
    void showReport();

    // Shows the built window (create first) as the program's own application window:
    // minimise, maximise and close, not modal, sized for the screen it opens on.
    void showAsMainWindow();
    // The context menu with the About, report and traffic monitor items, at `globalPos`; it closes
    // itself.
    void popupAboutMenu(const QPoint& globalPos);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

  private:
    bool onInitDialog() override;
    void onTabChanged();
    void stopPageBeingLeft();
    void fitLargestPage();
    void closeAfterTick();

    std::array<CDialog*, kPageCount> m_pages{};
    std::vector<CDialog*> m_recordDialogs;  // shown in the slot by the record query page
    std::vector<CDialog*> m_slotDialogs;    // shown in the slot by other pages (the scan)
    CDialog* m_pCurrentPage = nullptr;
    bool m_closeAfterTick = false;  // a close request waits for the running tick

    static const MessageEntry<CMainDlg> kMessageMap[];
};

// The one main window, set when it builds its tabs.
extern CMainDlg* g_pMainDlg;
