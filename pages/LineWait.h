// What the window does while a command waits on the line. By default it keeps painting:
// paint and timer events are processed every few milliseconds, user input is held until the
// command ends, so no other handler can start and the port stays with the command that waits. A
// visible wait (a progress box) puts its own hook in place for as long as it lives.
#pragma once

#include <functional>

// Puts the default in place where no hook is; every opening of the port asks for it.
void keepPaintingWhileWaiting();

// While alive, `hook` is what runs between the line's polls; the one before comes back after.
class ScopedLineWait {
  public:
    explicit ScopedLineWait(std::function<void()> hook);
    ~ScopedLineWait();
    ScopedLineWait(const ScopedLineWait&) = delete;
    ScopedLineWait& operator=(const ScopedLineWait&) = delete;
    // The hook that was in place before, for a hook that does its work on top of it.
    const std::function<void()>& previous() const { return m_previous; }

  private:
    std::function<void()> m_previous;
};
