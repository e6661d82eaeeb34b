// Total current page: reads register 0x0050 and shows it in amperes without the unit
// (the static beside the edit carries it).
#include "CurrentPage.h"

#include "DeviceCommand.h"
#include "Messages.h"
#include "ModbusExchange.h"
#include "Templates.h"
#include "ValueText.h"

const MessageEntry<CCurrentPage> CCurrentPage::kMessageMap[] = {
    {1047, Notify::Clicked, &CCurrentPage::onReadCurrent},
};

namespace {
constexpr int kCurrentEdit = 1002;
}

CCurrentPage::CCurrentPage(QWidget* parent) : CDialog(dialogTemplate(IDD_CURRENT), parent) {
    useMessageMap<CCurrentPage>(kMessageMap);
}

void CCurrentPage::onReadCurrent() {
    PortSession port;
    if (!port.isOpen()) {
        return;
    }
    if (auto reply = runExchange(readHoldingRequest(kCurrentRegister, 1), readReplyLength(1))) {
        setWindowText(kCurrentEdit, formatValue(kPlainCurrent, replyRegister(*reply, 0)));
    } else {
        messageBox(kMsgReadFailed);
    }
}
