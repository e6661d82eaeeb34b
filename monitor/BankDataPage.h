// Battery bank data page: all 121 live registers in one read, into three 40-cell lists
// and the current edit, and the bank judged beside them: cells marked against the device's
// limits, a summary, the worst cells and a verdict.
#pragma once

#include <optional>
#include <string>

#include "LiveBlock.h"
#include "ReadingPage.h"

class CBankDataPage : public CReadingPage {
  public:
    explicit CBankDataPage(QWidget* parent = nullptr);
    void showRegisters(const Registers& values) override;

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool onInitDialog() override;
    void onReadingStarted() override;
    void onReadingStopped() override;
    void onTickFailed() override;
    void onReadLimits();
    void showJudgement();

    std::optional<LiveReadings> m_lastReading;  // of the last good tick
    std::string m_lastReadTime;                 // its time, HH:MM:SS
    bool m_stale = false;                       // ticks after it failed

    static const MessageEntry<CBankDataPage> kMessageMap[];
};
