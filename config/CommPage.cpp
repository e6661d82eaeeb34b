// Communication settings page: every change goes straight into the link settings and takes
// effect at the next port open; the page never talks to the device.
#include "CommPage.h"

#include "LinkSettings.h"
#include "RegisterCoding.h"
#include "Templates.h"

const MessageEntry<CCommPage> CCommPage::kMessageMap[] = {
    {1003, Notify::SelChange, &CCommPage::onPortChanged},
    {1004, Notify::SelChange, &CCommPage::onBaudChanged},
    {1002, Notify::TextChange, &CCommPage::onAddressChanged},
};

namespace {
constexpr int kPortList = 1003;
constexpr int kBaudList = 1004;
constexpr int kAddressEdit = 1002;
constexpr int kDefaultBaudIndex = 3;  // "9600"
}  // namespace

CCommPage::CCommPage(QWidget* parent) : CDialog(dialogTemplate(IDD_COMM), parent) {
    useMessageMap<CCommPage>(kMessageMap);
}

bool CCommPage::onInitDialog() {
    setCurSel(kPortList, 0);
    setWindowText(kAddressEdit, "1");
    setCurSel(kBaudList, kDefaultBaudIndex);
    onPortChanged();
    onBaudChanged();
    onAddressChanged();
    return true;
}

void CCommPage::onPortChanged() {
    LinkSettings::portNumber = curSel(kPortList) + 1;
}

void CCommPage::onBaudChanged() {
    LinkSettings::baudRate = textToInt(windowText(kBaudList));
}

void CCommPage::onAddressChanged() {
    LinkSettings::deviceAddress = textToInt(windowText(kAddressEdit));
}
