// The main window: builds the nine pages once, switches them on the tab strip and stops a
// page's continuous reading when the operator leaves it.
#include "MainDlg.h"

#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QMenu>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>

#include "AboutDlg.h"
#include "BankDataPage.h"
#include "CellPage.h"
#include "CommPage.h"
#include "CurrentPage.h"
#include "Icon.h"
#include "ProbePage.h"
#include "SystemParamPage.h"
#include "Strings.h"
#include "TabCtrl.h"
#include "Templates.h"
#include "ids/MainIds.h"

CMainDlg* g_pMainDlg = nullptr;

using idc::main_window::kTabs;

const MessageEntry<CMainDlg> CMainDlg::kMessageMap[] = {
    {kTabs, Notify::SelChange, &CMainDlg::onTabChanged},
};

namespace {
constexpr int kCommTab = 0;
}

CMainDlg::CMainDlg(QWidget* parent) : CDialog(dialogTemplate(IDD_MAIN), parent) {
    useMessageMap<CMainDlg>(kMessageMap);
    setWindowIcon(korvalIcon());
}

CMainDlg::~CMainDlg() {
    stopPageBeingLeft();
    if (g_pMainDlg == this) {
        g_pMainDlg = nullptr;
    }
}

bool CMainDlg::onInitDialog() {
    auto* about = new QShortcut(QKeySequence(Qt::Key_F1), this);
    connect(about, &QShortcut::activated, this, [this] { runHandler([this] { showAbout(); }); });

    g_pMainDlg = this;
    CTabCtrl* tabs = tabCtrl(kTabs);
    for (int i = 0; i < kPageCount; ++i) {
        tabs->insertItem(i, kTabCaptions[i]);
    }
    QWidget* area = tabs->pageArea();
    m_pages = {new CCommPage(area),
               new CBankDataPage(area),
               new CVoltagePage(area),
               new CResistancePage(area),
               new CTemperaturePage(area),
               new CCurrentPage(area),
               new CDialog(dialogTemplate(IDD_RECORD_QUERY), area),
               new CSystemParamPage(area),
               new CProbePage(area)};
    for (CDialog* page : m_pages) {
        page->create(area);
    }
    m_pCurrentPage = m_pages[kCommTab];
    m_pCurrentPage->show();
    fitLargestPage();
    return true;
}

// Opens large enough for the largest page, within the screen; the window stays resizable.
void CMainDlg::fitLargestPage() {
    QSize pages;
    for (const CDialog* page : m_pages) {
        pages = pages.expandedTo(page->sizeHint());
    }
    const int tabBarHeight = tabCtrl(kTabs)->tabBar()->sizeHint().height();
    QSize size = pages + QSize(40, tabBarHeight + 40);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableSize());
    }
    resize(size);
}

CDialog* CMainDlg::page(int tab) const {
    return (tab >= 0 && tab < kPageCount) ? m_pages[tab] : nullptr;
}

int CMainDlg::currentTab() const {
    const CTabCtrl* tabs = tabCtrl(kTabs);
    return tabs != nullptr ? tabs->curSel() : -1;
}

void CMainDlg::showPage(CDialog* window) {
    if (window == m_pCurrentPage) {
        return;
    }
    if (m_pCurrentPage != nullptr) {
        m_pCurrentPage->hide();
    }
    window->show();
    m_pCurrentPage = window;
    repaint();
}

void CMainDlg::stopPageBeingLeft() {
    if (m_pCurrentPage != nullptr) {
        m_pCurrentPage->onLeave();
    }
}

void CMainDlg::onTabChanged() {
    const int index = currentTab();
    stopPageBeingLeft();
    if (index >= 0 && index < kPageCount) {
        showPage(m_pages[index]);
    }
}

void CMainDlg::showAbout() {
    CAboutDlg about(this);
    about.doModal();
}

void CMainDlg::contextMenuEvent(QContextMenuEvent* event) {
    QMenu menu(this);
    menu.addAction(QString::fromUtf8(IDS_ABOUTBOX), this,
                   [this] { runHandler([this] { showAbout(); }); });
    menu.exec(event->globalPos());
}

// A stray Escape must not end the program in the middle of a technician's work; the window
// closes only from its close button.
void CMainDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        event->accept();
        return;
    }
    CDialog::keyPressEvent(event);
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    // A reading may still hold the port; leave nothing open behind the window.
    stopPageBeingLeft();
    CDialog::closeEvent(event);
}
