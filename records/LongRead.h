// A record read that may take minutes, made bearable: the rows appear as they come (the
// view catches up at most ten times a second), a modal box tells how many records are in
// out of how many and how long the rest takes on the line, and its "取消" button or Escape
// stops the read once the exchange in flight is over. The box keeps every other input out,
// so no other command can start and the port serves this read alone. Short reads end
// before the box would show and look like any other command.
#pragma once

#include <QElapsedTimer>
#include <functional>
#include <memory>
#include <string>

#include "LineWait.h"

class CReportList;
class LongReadBox;
class QWidget;

class LongRead {
  public:
    // `total` records of `replyBytes` each are about to be read for `owner`, whose `list`
    // shows its rows (ReportRows) as they are added.
    LongRead(QWidget* owner, CReportList& list, std::string what, int total, int replyBytes);
    // The same for a read whose results another view shows: `showNew` brings it up to date.
    LongRead(QWidget* owner, std::function<void()> showNew, std::string what, int total,
             int replyBytes);
    ~LongRead();
    LongRead(const LongRead&) = delete;
    LongRead& operator=(const LongRead&) = delete;

    // One record's exchange is over (its row, if it was accepted, is in the list's rows).
    void recordDone();
    // The rows read so far, shown now (before a message box, say).
    void showRows();
    // Stops the read after the exchange in flight: the operator's cancel, or the page being
    // left. The read loop asks stopRequested() after every exchange.
    void requestStop();
    bool stopRequested() const { return m_stopRequested; }

  private:
    void onWait();
    void showBoxWhenDue();
    void refresh();
    void takeInput();

    QWidget* m_owner;
    std::function<void()> m_showNew;
    std::string m_what;
    int m_total;
    double m_secondsPerRecord;
    int m_done = 0;
    bool m_stopRequested = false;
    QElapsedTimer m_clock;
    qint64 m_lastRefreshMs = 0;
    LongReadBox* m_box = nullptr;
    std::unique_ptr<ScopedLineWait> m_hook;  // the wait hook before the read comes back after
};

// Marks the long read under way for the page's onLeave() while it lives.
class ReadInProgress {
  public:
    ReadInProgress(LongRead*& slot, LongRead& read) : m_slot(slot) { m_slot = &read; }
    ~ReadInProgress() { m_slot = nullptr; }
    ReadInProgress(const ReadInProgress&) = delete;
    ReadInProgress& operator=(const ReadInProgress&) = delete;

  private:
    LongRead*& m_slot;
};
