// Cell pages: two lists of 20 cells each, refreshed from one read of 40 registers a tick.
#include "CellPage.h"

#include "DeviceCommand.h"
#include "Messages.h"
#include "ModbusExchange.h"
#include "ReportList.h"
#include "Templates.h"

const MessageEntry<CVoltagePage> CVoltagePage::kMessageMap[] = {
    {1016, Notify::Clicked, &CVoltagePage::onStartStop},
};
const MessageEntry<CTemperaturePage> CTemperaturePage::kMessageMap[] = {
    {1016, Notify::Clicked, &CTemperaturePage::onStartStop},
};
const MessageEntry<CResistancePage> CResistancePage::kMessageMap[] = {
    {1016, Notify::Clicked, &CResistancePage::onStartStop},
    {1123, Notify::Clicked, &CResistancePage::onManualTest},
};

namespace {
constexpr int kListRows = 20;
constexpr int kTestButton = 1123;
constexpr int kTestCellList = 1146;
constexpr int kAllCellsIndex = 40;                // "ALL"
constexpr uint16_t kManualTestRegister = 0x10A0;  // CMD_MANUAL_IR_TEST

const CellPageConfig kVoltageConfig{IDD_VOLTAGE, 1017, 1015, kVoltageRegister, kCellVoltage};
const CellPageConfig kResistanceConfig{IDD_RESISTANCE, 1024, 1025, kResistanceRegister,
                                       kResistance};
const CellPageConfig kTemperatureConfig{IDD_TEMPERATURE, 1017, 1015, kTemperatureRegister,
                                        kTemperature};
}  // namespace

CCellPage::CCellPage(const CellPageConfig& config, QWidget* parent)
    : CReadingPage(dialogTemplate(config.templateId), {1016, 1021, 1022},
                   {config.startRegister, kCellCount}, parent),
      m_config(config) {}

bool CCellPage::onInitDialog() {
    addLabelledColumns(reportList(m_config.leftList), 1, kListRows, 1);
    addLabelledColumns(reportList(m_config.rightList), 1, kListRows, 1 + kListRows);
    for (int list : {m_config.leftList, m_config.rightList}) {
        reportList(list)->fitRows(kListRows);
    }
    return true;
}

void CCellPage::showReply(const Bytes& reply) {
    CReportList* left = reportList(m_config.leftList);
    CReportList* right = reportList(m_config.rightList);
    for (int i = 0; i < kListRows; ++i) {
        left->setItemText(i, 1, formatValue(m_config.format, replyRegister(reply, i)));
        right->setItemText(i, 1, formatValue(m_config.format, replyRegister(reply, kListRows + i)));
    }
}

CVoltagePage::CVoltagePage(QWidget* parent) : CCellPage(kVoltageConfig, parent) {
    useMessageMap<CVoltagePage>(kMessageMap);
}

CTemperaturePage::CTemperaturePage(QWidget* parent) : CCellPage(kTemperatureConfig, parent) {
    useMessageMap<CTemperaturePage>(kMessageMap);
}

CResistancePage::CResistancePage(QWidget* parent) : CCellPage(kResistanceConfig, parent) {
    useMessageMap<CResistancePage>(kMessageMap);
}

bool CResistancePage::onInitDialog() {
    CCellPage::onInitDialog();
    setCurSel(kTestCellList, kAllCellsIndex);
    return true;
}

void CResistancePage::onReadingStarted() {
    enableControl(kTestButton, false);
}

void CResistancePage::onReadingStopped() {
    enableControl(kTestButton, true);
}

void CResistancePage::onManualTest() {
    PortSession port;
    if (!port.isOpen()) {
        return;
    }
    for (int list : {config().leftList, config().rightList}) {
        for (int row = 0; row < kListRows; ++row) {
            reportList(list)->setItemText(row, 1, "");
        }
    }
    const int selected = curSel(kTestCellList);
    // One cell is 0x01nn; "ALL" (and, defensively, no selection) is 0x01FF.
    const uint16_t value =
        (selected >= 0 && selected < kAllCellsIndex) ? 0x0100 + selected + 1 : 0x01FF;
    const bool ok =
        runExchange(writeSingleRequest(kManualTestRegister, value), kWriteReplyLength).has_value();
    messageBox(ok ? kMsgSetOk : kMsgSetFailed);
}
