// Keeps command handlers from overlapping: one at a time on the UI thread, except in a
// dialog that a running handler opened modally (that dialog's buttons must still work).
#pragma once

#include <functional>

class QWidget;

namespace handler_guard {

// Whether a handler of `dialog` may start now.
bool mayStart(const QWidget* dialog);
bool anyRunning();
// Whether a command (not a timer tick) is running.
bool commandRunning();
// Whether a timer tick of `dialog` may run now: none of its own handlers (or ticks) runs,
// and every running handler waits in a modal dialog in which nothing runs (an About box or
// a prompt), as the platform's own timers keep ticking under a modal box.
bool mayTick(const QWidget* dialog);

// Calls `listener` each time the last running handler ends (from that handler's end, so it
// should only post work to the event loop). For the lifetime of the program.
void onIdle(std::function<void()> listener);

enum class Kind { Command, Tick };

// Marks a handler of `owner` as running for its lifetime (released on exceptions too).
class Running {
  public:
    explicit Running(const QWidget* owner = nullptr, Kind kind = Kind::Command);
    ~Running();
    Running(const Running&) = delete;
    Running& operator=(const Running&) = delete;

  private:
    Kind m_kind;
};

// While alive, `dialog` is the modal dialog whose handlers may run although the handler
// that opened it is still running. Does nothing when no handler runs.
class ModalLevel {
  public:
    explicit ModalLevel(const QWidget* dialog);
    ~ModalLevel();
    ModalLevel(const ModalLevel&) = delete;
    ModalLevel& operator=(const ModalLevel&) = delete;

  private:
    bool m_pushed = false;
};

}  // namespace handler_guard
