// Battery bank data page. Rows are created once; every tick rewrites the value cells in place.
#include "BankDataPage.h"

#include "ModbusExchange.h"
#include "ReportList.h"
#include "Templates.h"
#include "ValueText.h"

const MessageEntry<CBankDataPage> CBankDataPage::kMessageMap[] = {
    {1019, Notify::Clicked, &CBankDataPage::onStartStop},
};

namespace {
constexpr int kVoltageList = 1014;
constexpr int kResistanceList = 1044;
constexpr int kTemperatureList = 1045;
constexpr int kCurrentEdit = 1015;
constexpr int kRows = 10;
constexpr int kGroups = 4;

void showCells(CReportList* list, const Bytes& reply, uint16_t firstRegister,
               const ValueFormat& format) {
    for (int k = 0; k < kCellCount; ++k) {
        const uint16_t value = replyRegister(reply, firstRegister + k);
        list->setItemText(k % kRows, 1 + 3 * (k / kRows), formatValue(format, value));
    }
}
}  // namespace

CBankDataPage::CBankDataPage(QWidget* parent)
    : CReadingPage(dialogTemplate(IDD_BANK), {1019, 1020, 1021},
                   {kVoltageRegister, kLiveRegisterCount}, parent) {
    useMessageMap<CBankDataPage>(kMessageMap);
}

bool CBankDataPage::onInitDialog() {
    for (int id : {kVoltageList, kResistanceList, kTemperatureList}) {
        addLabelledColumns(reportList(id), kGroups, kRows, 1);
        reportList(id)->fitRows(kRows);
    }
    return true;
}

void CBankDataPage::showReply(const Bytes& reply) {
    showCells(reportList(kVoltageList), reply, kVoltageRegister, kBankVoltage);
    showCells(reportList(kResistanceList), reply, kResistanceRegister, kResistance);
    setWindowText(kCurrentEdit, formatValue(kBankCurrent, replyRegister(reply, kCurrentRegister)));
    showCells(reportList(kTemperatureList), reply, kTemperatureRegister, kTemperature);
}
