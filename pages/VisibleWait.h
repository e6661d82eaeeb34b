// A long wait for the device that the operator can see: while it lives, waits on the line
// keep the window painted and a small modal box says what is awaited and for how long.
// The box has no cancel button (the device is busy and will answer or time out), and being
// modal it keeps every other command, and the port, out of reach meanwhile.
#pragma once

#include <QElapsedTimer>
#include <memory>
#include <string>

#include "LineWait.h"

class QProgressDialog;
class QWidget;

class VisibleWait {
  public:
    VisibleWait(QWidget* owner, std::string text);
    ~VisibleWait();
    VisibleWait(const VisibleWait&) = delete;
    VisibleWait& operator=(const VisibleWait&) = delete;

    // Runs the event loop for `ms` milliseconds while the box counts down the seconds left.
    void sleepFor(int ms);

  private:
    void refresh();
    void showSeconds(bool countdown, int seconds);

    QProgressDialog* m_box;
    std::unique_ptr<ScopedLineWait> m_hook;
    std::string m_text;
    QElapsedTimer m_clock;
    int m_shownSeconds = -1;
};
