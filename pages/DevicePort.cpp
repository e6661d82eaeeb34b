// The two ways a page holds the port, each telling the operator when it cannot be had.
#include "DevicePort.h"

#include "LineWait.h"
#include "MessageBox.h"
#include "SerialPort.h"
#include "Strings.h"

namespace {

// The message is the same whatever went wrong; its details tell the technician the path and
// the cause (missing, not permitted, held by whom, settings refused).
bool openOrWarn(LinkPort& port) {
    if (!port.open()) {
        appMessageBox(kMsgPortOpenFailed, portOpenErrorDetails(lastPortOpenError()));
        return false;
    }
    return true;
}

}  // namespace

PortSession::PortSession() {
    openOrWarn(*this);
    keepPaintingWhileWaiting();
}

bool HeldPort::open() {
    keepPaintingWhileWaiting();
    return openOrWarn(*this);
}
