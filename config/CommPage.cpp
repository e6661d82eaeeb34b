// Communication settings page: every change goes straight into the link settings and takes
// effect at the next port open. The page itself never talks to the device; its "搜索设备"
// shows the scan, which can put what it found back here.
#include "CommPage.h"

#include <string>

#include "LinkSettings.h"
#include "RegisterCoding.h"
#include "ScanDlg.h"
#include "SerialPort.h"
#include "Templates.h"
#include "ids/CommIds.h"

namespace ids = idc::comm;

const MessageEntry<CCommPage> CCommPage::kMessageMap[] = {
    {ids::kPort, Notify::SelChange, &CCommPage::onPortChanged},
    {ids::kBaud, Notify::SelChange, &CCommPage::onBaudChanged},
    {ids::kAddress, Notify::TextChange, &CCommPage::onAddressChanged},
    {ids::kSearch, Notify::Clicked, &CCommPage::onSearch},
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

void CCommPage::setScanDialog(std::function<void(CDialog*)> showInSlot, CScanDlg* scan) {
    m_showInSlot = std::move(showInSlot);
    m_scan = scan;
    m_scan->setDone([this](const std::optional<FoundDevice>& found) {
        if (found) {
            applyFound(*found);
        }
        m_showInSlot(this);
    });
}

// Runs inside the scan's "应用", so the page's handlers are called here rather than raised.
void CCommPage::applyFound(const FoundDevice& device) {
    const std::vector<std::string> rates = items(ids::kBaud);
    for (size_t k = 0; k < rates.size(); ++k) {
        if (rates[k] == std::to_string(device.baudRate)) {
            setCurSel(ids::kBaud, static_cast<int>(k));
            onBaudChanged();
        }
    }
    setWindowText(ids::kAddress, std::to_string(device.address));
    onAddressChanged();
}

// The scan starts from the settings on this page, on its port.
void CCommPage::onSearch() {
    if (m_scan != nullptr && m_showInSlot) {
        m_showInSlot(m_scan);
        m_scan->startScan();
    }
}
