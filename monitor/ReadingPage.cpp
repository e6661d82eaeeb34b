// Continuous reading: start opens the port and starts timer 1, each tick is one read on that
// port, stop (or leaving the page) kills the timer and gives the port back.
#include "ReadingPage.h"

#include "RegisterCoding.h"
#include "ReportList.h"
#include "Strings.h"
#include "ValueText.h"

CReadingPage::CReadingPage(const DialogTemplate& tpl, Controls controls, RegisterBlock block,
                           QWidget* parent)
    : CDialog(tpl, parent), m_controls(controls), m_block(block) {}

void CReadingPage::onStartStop() {
    if (windowText(m_controls.startStop) == kStartReadingCaption) {
        startReading();
    } else {
        stopReading();
    }
}

void CReadingPage::onLeave() {
    stopReading();
}

void CReadingPage::startReading() {
    if (!m_port.open()) {
        return;
    }
    setWindowText(m_controls.startStop, kStopReadingCaption);
    m_okCount = 0;
    m_failCount = 0;
    setWindowText(m_controls.okCount, "0");
    setWindowText(m_controls.failCount, "0");
    onReadingStarted();
    setTimer(kContinuousReadTimerId, kContinuousReadPeriodMs);
}

void CReadingPage::stopReading() {
    killTimerById(kContinuousReadTimerId);
    setWindowText(m_controls.startStop, kStartReadingCaption);
    onReadingStopped();
    m_port.release();
}

void CReadingPage::onTimer(int /*timerId*/) {
    if (const auto values = m_port.read(m_block)) {
        setWindowText(m_controls.okCount, formatText("%d", ++m_okCount));
        showRegisters(*values);
    } else {
        setWindowText(m_controls.failCount, formatText("%d", ++m_failCount));
        onTickFailed();
    }
}

void addLabelledColumns(CReportList* list, int groups, int rows, int firstCell) {
    if (list == nullptr) {
        return;
    }
    int column = 0;
    for (int g = 0; g < groups; ++g) {
        if (g > 0) {
            list->insertColumn(column++, " ", 23);
        }
        list->insertColumn(column++, "名称", 100);
        list->insertColumn(column++, "数据", 120);
    }
    for (int row = 0; row < rows; ++row) {
        list->insertItem(row, channelLabel(firstCell + row));
        for (int g = 1; g < groups; ++g) {
            list->setItemText(row, 3 * g, channelLabel(firstCell + g * rows + row));
        }
    }
}
