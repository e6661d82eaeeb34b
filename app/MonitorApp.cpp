// The application object.
#include "MonitorApp.h"

#include <QApplication>

#include "Icon.h"
#include "MainDlg.h"
#include "SerialPort.h"

bool CMonitorApp::initInstance() {
    QApplication::setWindowIcon(korvalIcon());
    {
        CMainDlg dlg;
        dlg.doModal();
    }
    closeSerialPort();
    return false;
}
