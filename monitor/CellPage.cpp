// Cell pages: two lists of 20 cells each, refreshed from one read of 40 registers a tick.
#include "CellPage.h"

#include "LiveRegisters.h"
#include "ReportList.h"
#include "Strings.h"
#include "ids/CellIds.h"

namespace ids = idc::cell;

const MessageEntry<CVoltagePage> CVoltagePage::kMessageMap[] = {
    {ids::kStartStop, Notify::Clicked, &CVoltagePage::onStartStop},
};
const MessageEntry<CTemperaturePage> CTemperaturePage::kMessageMap[] = {
    {ids::kStartStop, Notify::Clicked, &CTemperaturePage::onStartStop},
};
const MessageEntry<CResistancePage> CResistancePage::kMessageMap[] = {
    {ids::kStartStop, Notify::Clicked, &CResistancePage::onStartStop},
    {idc::resistance::kTestButton, Notify::Clicked, &CResistancePage::onManualTest},
};

namespace {
constexpr int kListRows = 20;
constexpr int kAllCellsIndex = 40;                          // "ALL"
constexpr uint16_t kManualTestRegister = reg::kManualTest;  // CMD_MANUAL_IR_TEST

const CellPageConfig kVoltageConfig{cellPageLayout(IDD_VOLTAGE), kVoltageRegister, kCellVoltage};
const CellPageConfig kResistanceConfig{cellPageLayout(IDD_RESISTANCE), kResistanceRegister,
                                       kResistance};
const CellPageConfig kTemperatureConfig{cellPageLayout(IDD_TEMPERATURE), kTemperatureRegister,
                                        kTemperature};
}  // namespace

CCellPage::CCellPage(const CellPageConfig& config, QWidget* parent)
    : CReadingPage(dialogTemplate(config.layout.templateId),
                   {ids::kStartStop, ids::kOkCount, ids::kFailCount},
                   holding(config.startRegister, kCellCount), parent),
      m_config(config) {}

bool CCellPage::onInitDialog() {
    addLabelledColumns(reportList(m_config.layout.leftList), 1, kListRows, 1);
    addLabelledColumns(reportList(m_config.layout.rightList), 1, kListRows, 1 + kListRows);
    for (int list : {m_config.layout.leftList, m_config.layout.rightList}) {
        reportList(list)->fitRows(kListRows);
    }
    return true;
}

void CCellPage::showRegisters(const Registers& values) {
    if (values.size() < kCellCount) {
        return;
    }
    CReportList* left = reportList(m_config.layout.leftList);
    CReportList* right = reportList(m_config.layout.rightList);
    for (int i = 0; i < kListRows; ++i) {
        left->setItemText(i, 1, formatValue(m_config.format, values[i]));
        right->setItemText(i, 1, formatValue(m_config.format, values[kListRows + i]));
    }
}

void CCellPage::clearValues() {
    for (int list : {m_config.layout.leftList, m_config.layout.rightList}) {
        for (int row = 0; row < kListRows; ++row) {
            reportList(list)->setItemText(row, 1, "");
        }
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
    setCurSel(idc::resistance::kTestCell, kAllCellsIndex);
    return true;
}

void CResistancePage::onReadingStarted() {
    enableControl(idc::resistance::kTestButton, false);
}

void CResistancePage::onReadingStopped() {
    enableControl(idc::resistance::kTestButton, true);
}

// The value columns are blanked once the port is open, before the command goes out.
void CResistancePage::onManualTest() {
    PortSession port;
    if (!port) {
        return;
    }
    clearValues();
    const int selected = curSel(idc::resistance::kTestCell);
    // One cell is 0x01nn; "ALL" (and, defensively, no selection) is 0x01FF.
    const uint16_t value =
        (selected >= 0 && selected < kAllCellsIndex) ? 0x0100 + selected + 1 : 0x01FF;
    messageBox(port.writeRegister(kManualTestRegister, value) ? kMsgSetOk : kMsgSetFailed);
}
