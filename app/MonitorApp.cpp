// The application object.
#include "MonitorApp.h"

#include <QApplication>

#include "Icon.h"
#include "MainDlg.h"

bool CMonitorApp::initInstance() {
    QApplication::setWindowIcon(korvalIcon());
    CMainDlg dlg;  // its pages give back the port when they go
    dlg.create(nullptr);
    dlg.showAsMainWindow();
    QApplication::exec();  // ends when the window closes, as the last window of the program
    return false;
}
