// A page that reads the device continuously: the start/stop button's caption is the state,
// timer 1 ticks every 500 ms on the port the start opened, and two counters count the ticks.
#pragma once

#include "DevicePort.h"
#include "Dialog.h"

inline constexpr int kContinuousReadTimerId = 1;
inline constexpr int kContinuousReadPeriodMs = 500;

class CReadingPage : public CDialog {
  public:
    struct Controls {
        int startStop;
        int okCount;
        int failCount;
    };

    CReadingPage(const DialogTemplate& tpl, Controls controls, RegisterBlock block,
                 QWidget* parent);

    int okCount() const { return m_okCount; }
    int failCount() const { return m_failCount; }
    // Shows the registers of one tick's read in the page's controls.
    virtual void showRegisters(const Registers& values) = 0;
    // Leaving the page stops the reading and gives the port back.
    void onLeave() override;

  protected:
    void onStartStop();
    void onTimer(int timerId) override;
    virtual void onReadingStarted() {}
    virtual void onReadingStopped() {}
    // A tick whose read failed, after it was counted.
    virtual void onTickFailed() {}

  private:
    void startReading();
    void stopReading();

    Controls m_controls;
    RegisterBlock m_block;
    HeldPort m_port;
    int m_okCount = 0;
    int m_failCount = 0;
};

// Fills a report list's columns and "通道#n" labels; shared by the live pages.
class CReportList;
void addLabelledColumns(CReportList* list, int groups, int rows, int firstCell);
