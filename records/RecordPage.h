// A window the record query page puts in its place: it goes back with "返回".
#pragma once

#include <functional>

#include "Dialog.h"

class CRecordPage : public CDialog {
  public:
    using CDialog::CDialog;

    // What "返回" does: the main window puts the record query page back in its slot.
    void setBack(std::function<void()> back) { m_back = std::move(back); }

  protected:
    void OnBack() {
        if (m_back) {
            m_back();
        }
    }

  private:
    std::function<void()> m_back;
};
