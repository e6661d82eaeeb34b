// Opening the port with the dialog's own box.
#include "DialogPort.h"

#include "Dialog.h"
#include "LinkSettings.h"
#include "SerialPort.h"
#include "Strings.h"

namespace {

bool openOrTell(CDialog& owner) {
    if (openSerialPort(LinkSettings::portNumber, LinkSettings::baudRate) == nullptr) {
        owner.messageBox(kMsgPortOpenFailed);
        return false;
    }
    return true;
}

}  // namespace

DialogPortSession::DialogPortSession(CDialog& owner) : m_open(openOrTell(owner)) {}

DialogPortSession::~DialogPortSession() {
    if (m_open) {
        closeSerialPort();
    }
}
