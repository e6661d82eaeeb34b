// The application object.
#include "MonitorApp.h"

#include <QApplication>

#include "Icon.h"
#include "MainDlg.h"

bool CMonitorApp::initInstance() {
    QApplication::setWindowIcon(korvalIcon());
    CMainDlg dlg;  // its pages give back the port when they go
    dlg.doModal();
    return false;
}
