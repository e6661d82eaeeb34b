// Battery bank data page. Rows are created once; every tick rewrites the value cells in place.
#include "BankDataPage.h"

#include "LiveRegisters.h"
#include "ReportList.h"
#include "Templates.h"
#include "ValueText.h"
#include "ids/BankIds.h"

namespace ids = idc::bank;

const MessageEntry<CBankDataPage> CBankDataPage::kMessageMap[] = {
    {ids::kStartStop, Notify::Clicked, &CBankDataPage::onStartStop},
};

namespace {
constexpr int kRows = 10;
constexpr int kGroups = 4;

void showCells(CReportList* list, const Registers& values, uint16_t firstRegister,
               const ValueFormat& format) {
    for (int k = 0; k < kCellCount; ++k) {
        list->setItemText(k % kRows, 1 + 3 * (k / kRows),
                          formatValue(format, values[firstRegister + k]));
    }
}
}  // namespace

CBankDataPage::CBankDataPage(QWidget* parent)
    : CReadingPage(dialogTemplate(IDD_BANK), {ids::kStartStop, ids::kOkCount, ids::kFailCount},
                   holding(kVoltageRegister, kLiveRegisterCount), parent) {
    useMessageMap<CBankDataPage>(kMessageMap);
}

bool CBankDataPage::onInitDialog() {
    for (int id : {ids::kVoltageList, ids::kResistanceList, ids::kTemperatureList}) {
        addLabelledColumns(reportList(id), kGroups, kRows, 1);
        reportList(id)->fitRows(kRows);
    }
    return true;
}

void CBankDataPage::showRegisters(const Registers& values) {
    if (values.size() < kLiveRegisterCount) {
        return;
    }
    showCells(reportList(ids::kVoltageList), values, kVoltageRegister, kBankVoltage);
    showCells(reportList(ids::kResistanceList), values, kResistanceRegister, kResistance);
    setWindowText(ids::kCurrent, formatValue(kBankCurrent, values[kCurrentRegister]));
    showCells(reportList(ids::kTemperatureList), values, kTemperatureRegister, kTemperature);
}
