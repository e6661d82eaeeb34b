// A page that reads the device continuously: the start/stop button's caption is the state,
// timer 1 ticks every 500 ms on the port the start opened, and two counters count the ticks.
#pragma once

#include <cstdint>
#include <vector>

#include "Dialog.h"
#include "ModbusFrame.h"

inline constexpr int kContinuousReadTimerId = 1;
inline constexpr int kContinuousReadPeriodMs = 500;

class CReadingPage : public CDialog {
  public:
    struct Controls {
        int startStop;
        int okCount;
        int failCount;
    };
    struct Read {
        uint16_t start;
        uint16_t count;
    };

    CReadingPage(const DialogTemplate& tpl, Controls controls, Read read, QWidget* parent);

    int okCount() const { return m_okCount; }
    int failCount() const { return m_failCount; }
    // Decodes a reply of the page's read into its controls (the tick's work without the line).
    virtual void showReply(const Bytes& reply) = 0;

  protected:
    void onStartStop();
    void onTimer(int timerId) override;
    virtual void onReadingStarted() {}
    virtual void onReadingStopped() {}

  private:
    Controls m_controls;
    Bytes m_request;
    size_t m_replyLength;
    int m_okCount = 0;
    int m_failCount = 0;
};

// Fills a report list's columns and "通道#n" labels; shared by the live pages.
class CReportList;
void addLabelledColumns(CReportList* list, int groups, int rows, int firstCell);
