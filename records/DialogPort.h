// The port for one handler of a dialog that tells a failed open in its own box (no icon),
// as the range and group reads of the record dialogs do; otherwise as PortSession.
#pragma once

#include "DevicePort.h"

class CDialog;

class DialogPortSession : public RegisterLink {
  public:
    explicit DialogPortSession(CDialog& owner);
    ~DialogPortSession();
    DialogPortSession(const DialogPortSession&) = delete;
    DialogPortSession& operator=(const DialogPortSession&) = delete;
    explicit operator bool() const { return m_open; }

  private:
    bool m_open;
};
