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

std::function<void()>& currentHook() {
    static std::function<void()> hook;
    return hook;
}

void install(std::function<void()> hook) {
    currentHook() = hook;
    setRxWaitHook(std::move(hook));
}

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

void keepPaintingWhileWaiting() {
    static bool installed = false;
    if (!installed && QCoreApplication::instance() != nullptr) {
        installed = true;
        install(paintWhileWaiting);
    }
}

ScopedLineWait::ScopedLineWait(std::function<void()> hook) : m_previous(currentHook()) {
    install(std::move(hook));
}

ScopedLineWait::~ScopedLineWait() {
    install(std::move(m_previous));
}
