// Opening the port with the dialog's own box.
#include "DialogPort.h"

#include "Dialog.h"
#include "LineWait.h"
#include "LinkSettings.h"
#include "SerialPort.h"
#include "Strings.h"

namespace {

// The same details as the application box gives: the path and the cause.
bool openOrTell(CDialog& owner) {
    keepPaintingWhileWaiting();
    if (openSerialPort(LinkSettings::portNumber, LinkSettings::baudRate) == nullptr) {
        owner.messageBox(kMsgPortOpenFailed, portOpenErrorDetails(lastPortOpenError()));
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
