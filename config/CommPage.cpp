// Communication settings page: every change goes straight into the link settings and takes
// effect at the next port open; the page never talks to the device.
#include "CommPage.h"

#include <string>

#include "LinkSettings.h"
#include "RegisterCoding.h"
#include "SerialPort.h"
#include "Templates.h"
#include "ids/CommIds.h"

namespace ids = idc::comm;

const MessageEntry<CCommPage> CCommPage::kMessageMap[] = {
    {ids::kPort, Notify::SelChange, &CCommPage::onPortChanged},
    {ids::kBaud, Notify::SelChange, &CCommPage::onBaudChanged},
    {ids::kAddress, Notify::TextChange, &CCommPage::onAddressChanged},
};

namespace {
constexpr int kDefaultBaudIndex = 3;  // "9600"
}

CCommPage::CCommPage(QWidget* parent) : CDialog(dialogTemplate(IDD_COMM), parent) {
    useMessageMap<CCommPage>(kMessageMap);
}

bool CCommPage::onInitDialog() {
    setCurSel(ids::kPort, 0);
    setWindowText(ids::kAddress, "1");
    setCurSel(ids::kBaud, kDefaultBaudIndex);
    onPortChanged();
    onBaudChanged();
    onAddressChanged();
    return true;
}

void CCommPage::onPortChanged() {
    LinkSettings::portNumber = curSel(ids::kPort) + 1;
    // Where "ComN" really goes on this machine (/dev/ttyS{N-1} or the --com path), so the
    // technician can match it against the adapter they plugged in.
    setWindowText(ids::kPortPath, LinkSettings::portNumber > 0 ? portPath(LinkSettings::portNumber)
                                                               : std::string());
}

void CCommPage::onBaudChanged() {
    LinkSettings::baudRate = textToInt(windowText(ids::kBaud));
}

void CCommPage::onAddressChanged() {
    LinkSettings::deviceAddress = textToInt(windowText(ids::kAddress));
}
