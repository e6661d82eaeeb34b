// The wait hooks of the serial layer: the default that keeps windows painted, and the
// scoped replacement of a visible wait.
#include "LineWait.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <utility>

#include "HeldInput.h"
#include "SerialPort.h"

namespace {

// Paint and timer events at least this often while waiting.
constexpr int kPaintEveryMs = 10;

void paintWhileWaiting() {
    static QElapsedTimer last;
    static bool inside = false;
    if (inside || (last.isValid() && last.elapsed() < kPaintEveryMs)) {
        return;  // a tick that waits inside this very call must not nest another round
    }
    inside = true;
    held_input::processEventsExceptInput();
    last.restart();
    inside = false;
}

}  // namespace

// Whatever took the hook away, the next opening of the port brings painting back.
void keepPaintingWhileWaiting() {
    if (!currentRxWaitHook() && QCoreApplication::instance() != nullptr) {
        setRxWaitHook(paintWhileWaiting);
    }
}

// The previous hook is asked of the serial layer itself, so whatever was in place comes back.
ScopedLineWait::ScopedLineWait(std::function<void()> hook) : m_previous(currentRxWaitHook()) {
    setRxWaitHook(std::move(hook));
}

ScopedLineWait::~ScopedLineWait() {
    setRxWaitHook(std::move(m_previous));
}
