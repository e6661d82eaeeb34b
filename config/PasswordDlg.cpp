// The factory-mode password prompt.
#include "PasswordDlg.h"

#include "Templates.h"
#include "ids/SystemParamIds.h"

CPasswordDlg::CPasswordDlg(QWidget* parent) : CDialog(dialogTemplate(IDD_PASSWORD), parent) {}

void CPasswordDlg::onOK() {
    m_password = windowText(idc::password::kPassword);
    endDialog(IDOK);
}
