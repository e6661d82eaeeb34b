// The main window: builds the nine pages once, switches them on the tab strip and stops a
// page's continuous reading when the operator leaves it.
#include "MainDlg.h"

#include <QAbstractSpinBox>
#include <QApplication>
#include <QCloseEvent>
#include <QContextMenuEvent>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPointer>
#include <QScreen>
#include <QShortcut>
#include <QTabBar>
#include <QTextEdit>

#include "AboutDlg.h"
#include "AlarmRecordDlg.h"
#include "BankDataPage.h"
#include "CellPage.h"
#include "CommPage.h"
#include "CurrentPage.h"
#include "CurveRecordDlg.h"
#include "HandlerGuard.h"
#include "Icon.h"
#include "OwnMenu.h"
#include "ProbePage.h"
#include "RecordQueryPage.h"
#include "ReportDlg.h"
#include "ResistanceRecordDlg.h"
#include "ScanDlg.h"
#include "Strings.h"
#include "SystemParamPage.h"
#include "TabCtrl.h"
#include "Templates.h"
#include "TrafficWnd.h"
#include "VoltageRecordDlg.h"
#include "ids/MainIds.h"
#include "ids/ReportIds.h"

CMainDlg* g_pMainDlg = nullptr;

using idc::main_window::kTabs;

const MessageEntry<CMainDlg> CMainDlg::kMessageMap[] = {
    {kTabs, Notify::SelChange, &CMainDlg::onTabChanged},
};

namespace {
constexpr int kCommTab = 0;
// Room for the page area's frame around the largest page.
constexpr int kMarginPx = 20;
// What a window manager adds around the window: a title bar and thin borders. The frame is
// only known once the window is shown, too late for its first size.
const QSize kFrameAllowance(8, 44);

bool isTextField(const QWidget* widget) {
    return qobject_cast<const QLineEdit*>(widget) != nullptr ||
           qobject_cast<const QAbstractSpinBox*>(widget) != nullptr ||
           qobject_cast<const QTextEdit*>(widget) != nullptr ||
           qobject_cast<const QPlainTextEdit*>(widget) != nullptr;
}
}  // namespace

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

    handler_guard::onIdle([window = QPointer<CMainDlg>(this)] {
        if (window != nullptr && window->m_closeAfterTick) {
            QMetaObject::invokeMethod(window, &CMainDlg::closeAfterTick, Qt::QueuedConnection);
        }
    });

    g_pMainDlg = this;
    CTabCtrl* tabs = tabCtrl(kTabs);
    for (int i = 0; i < kPageCount; ++i) {
        tabs->insertItem(i, kTabCaptions[i]);
    }
    QWidget* area = tabs->pageArea();
    auto* records = new CRecordQueryPage(area);
    auto* comm = new CCommPage(area);
    m_pages = {comm,
               new CBankDataPage(area),
               new CVoltagePage(area),
               new CResistancePage(area),
               new CTemperaturePage(area),
               new CCurrentPage(area),
               records,
               new CSystemParamPage(area),
               new CProbePage(area)};
    for (CDialog* page : m_pages) {
        page->create(area);
    }
    // The record dialogs take the query page's place in the page slot when it shows them.
    auto* resistanceRecords = new CResistanceRecordDlg(area);
    auto* voltageRecords = new CVoltageRecordDlg(area);
    auto* alarmRecords = new CAlarmRecordDlg(area);
    auto* curveRecords = new CCurveRecordDlg(area);
    m_recordDialogs = {resistanceRecords, voltageRecords, alarmRecords, curveRecords};
    for (CDialog* dialog : m_recordDialogs) {
        dialog->create(area);
    }
    records->setRecordDialogs([this](CDialog* window) { showPage(window); }, voltageRecords,
                              resistanceRecords, alarmRecords, curveRecords);
    // The device scan takes the communication page's place in the slot the same way.
    auto* scan = new CScanDlg(area);
    scan->create(area);
    m_slotDialogs = {scan};
    comm->setScanDialog([this](CDialog* window) { showPage(window); }, scan);
    m_pCurrentPage = m_pages[kCommTab];
    m_pCurrentPage->show();
    // Dialogs and drop lists take a right click themselves without a menu, so the click
    // would not reach this window: every right click in it comes here first.
    QApplication::instance()->installEventFilter(this);
    fitLargestPage();
    return true;
}

// Opens large enough for the largest page, within the screen's free area less the frame
// the window manager adds; the window stays resizable.
void CMainDlg::fitLargestPage() {
    QSize pages;
    for (const CDialog* page : m_pages) {
        pages = pages.expandedTo(page->sizeHint());
    }
    for (const CDialog* dialog : m_recordDialogs) {
        pages = pages.expandedTo(dialog->sizeHint());
    }
    for (const CDialog* dialog : m_slotDialogs) {
        pages = pages.expandedTo(dialog->sizeHint());
    }
    const int tabBarHeight = tabCtrl(kTabs)->tabBar()->sizeHint().height();
    QSize size = pages + QSize(2 * kMarginPx, tabBarHeight + 2 * kMarginPx);
    if (const QScreen* screen = this->screen()) {
        size = size.boundedTo(screen->availableSize() - kFrameAllowance);
    }
    resize(size);
}

void CMainDlg::showAsMainWindow() {
    setWindowFlags(Qt::Window);  // not Qt::Dialog: window managers give dialogs no minimise
    setWindowModality(Qt::NonModal);
    setAttribute(Qt::WA_Moved, false);  // let it open centred on the screen
    fitLargestPage();
    show();
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

// The report takes the port for its reads: a continuous reading stops first, as when the
// page is left.
void CMainDlg::showReport() {
    stopPageBeingLeft();
    CReportDlg report(this);
    report.doModal();
}

void CMainDlg::popupAboutMenu(const QPoint& globalPos) {
    auto* menu = new QMenu(this);
    menu->setAttribute(Qt::WA_DeleteOnClose);
    menu->addAction(QString::fromUtf8(IDS_ABOUTBOX), this,
                    [this] { runHandler([this] { showAbout(); }); });
    menu->addAction(QString::fromUtf8(kReportMenuCaption), this,
                    [this] { runHandler([this] { showReport(); }); });
    // No command: the monitor only reads the traffic record, never the port.
    menu->addAction(QString::fromUtf8(kTrafficMenuCaption), this,
                    [this] { CTrafficWnd::showFor(this); });
    menu->popup(globalPos);
}

bool CMainDlg::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ContextMenu && watched->isWidgetType()) {
        const auto* widget = static_cast<QWidget*>(watched);
        // Text fields keep their own menu (copy, paste), as do controls with a menu of their
        // own; other windows (the About box, a message box) are not this window.
        if (widget->window() == this && !isTextField(widget) && !hasOwnContextMenu(widget)) {
            popupAboutMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
            return true;
        }
    }
    return CDialog::eventFilter(watched, event);
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
    // A command waiting on the line keeps the window painted, so a close request can come
    // meanwhile; the command owns the port (and what it reads) until it returns, and the
    // window stays. A continuous reading's tick is no such command: the window closes as
    // soon as the tick has given the port back.
    if (handlerRunning()) {
        event->ignore();
        m_closeAfterTick = m_closeAfterTick || !handler_guard::commandRunning();
        return;
    }
    // A reading may still hold the port; leave nothing open behind the window.
    stopPageBeingLeft();
    // Accepted here: a modeless dialog's own close handling would keep the window open.
    event->accept();
}

// Posted when the last handler ends; should another have started by the time it runs, the
// end of that one posts it again.
void CMainDlg::closeAfterTick() {
    if (!m_closeAfterTick || handlerRunning()) {
        return;
    }
    m_closeAfterTick = false;
    close();
}
