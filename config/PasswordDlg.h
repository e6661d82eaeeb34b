// The password prompt of factory mode: a masked edit, "确定" and "取消"; closing it from its
// title bar or with Escape cancels too.
#pragma once

#include <string>

#include "Dialog.h"

class CPasswordDlg : public CDialog {
  public:
    explicit CPasswordDlg(QWidget* parent = nullptr);
    // What was typed, once the dialog ended with OK.
    const std::string& password() const { return m_password; }

  private:
    void onOK() override;

    std::string m_password;
};
