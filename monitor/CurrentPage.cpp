// Total current page: reads register 0x0050 and shows it in amperes without the unit
// (the static beside the edit carries it).
#include "CurrentPage.h"

#include "FormCommands.h"
#include "LiveRegisters.h"
#include "Templates.h"
#include "ValueText.h"
#include "ids/CurrentIds.h"

namespace ids = idc::current;

const MessageEntry<CCurrentPage> CCurrentPage::kMessageMap[] = {
    {ids::kRead, Notify::Clicked, &CCurrentPage::onReadCurrent},
};

CCurrentPage::CCurrentPage(QWidget* parent) : CDialog(dialogTemplate(IDD_CURRENT), parent) {
    useMessageMap<CCurrentPage>(kMessageMap);
}

void CCurrentPage::onReadCurrent() {
    readAndShow(*this, holding(kCurrentRegister), [this](const Registers& r) {
        setWindowText(ids::kValue, formatValue(kPlainCurrent, r[0]));
    });
}
