// The About box: the program icon, its name and version, and OK.
#include "AboutDlg.h"

#include <QLabel>

#include "Icon.h"
#include "Templates.h"
#include "ids/AboutIds.h"

CAboutDlg::CAboutDlg(QWidget* parent) : CDialog(dialogTemplate(IDD_ABOUTBOX), parent) {}

bool CAboutDlg::onInitDialog() {
    if (auto* icon = qobject_cast<QLabel*>(control(idc::about::kIcon))) {
        icon->setPixmap(korvalIcon().pixmap(32, 32));
    }
    return true;
}
