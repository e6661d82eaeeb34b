// Battery bank data page. Rows are created once; every tick rewrites the value cells in place,
// then judges the reading. A failed tick marks what is shown as old, never as fresh.
#include "BankDataPage.h"

#include <QTime>

#include "BankTriageText.h"
#include "BankTriageView.h"
#include "JudgeLimits.h"
#include "JudgeState.h"
#include "LiveRegisters.h"
#include "ReportList.h"
#include "Templates.h"
#include "ValueText.h"
#include "ids/BankIds.h"

namespace ids = idc::bank;

const MessageEntry<CBankDataPage> CBankDataPage::kMessageMap[] = {
    {ids::kStartStop, Notify::Clicked, &CBankDataPage::onStartStop},
    {ids::kReadLimits, Notify::Clicked, &CBankDataPage::onReadLimits},
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
    setUpTriageLists(*this);
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
    m_lastReading = decodeLiveBlock(values);
    m_lastReadTime = QTime::currentTime().toString("HH:mm:ss").toStdString();
    m_stale = false;
    showJudgement();
}

void CBankDataPage::onTickFailed() {
    if (m_lastReading && !m_stale) {
        m_stale = true;
        showJudgement();
    }
}

// The limits may have been read on another page meanwhile.
void CBankDataPage::showEvent(QShowEvent* event) {
    CReadingPage::showEvent(event);
    showJudgement();
}

// The limits come over the port the reading would hold, so they are read between readings.
void CBankDataPage::onReadingStarted() {
    enableControl(ids::kReadLimits, false);
}

void CBankDataPage::onReadingStopped() {
    enableControl(ids::kReadLimits, true);
}

void CBankDataPage::onReadLimits() {
    if (readJudgeLimits(*this)) {
        setWindowText(ids::kLimitsState, triage::limitsLine(judgeState().limits));
        showJudgement();
    }
}

void CBankDataPage::showJudgement() {
    if (m_lastReading) {
        showBankTriage(*this, *m_lastReading, m_stale, m_lastReadTime);
    }
}
