// The input hold: an application-wide event filter that is active only during the event
// passes of a wait, and hands what it held back to the event queue when handlers end.
#include "HeldInput.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPointer>
#include <memory>
#include <vector>

#include "HandlerGuard.h"

namespace held_input {
namespace {

bool isOperatorInput(QEvent::Type type) {
    switch (type) {
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::MouseMove:
        case QEvent::Wheel:
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ContextMenu:
        case QEvent::TouchBegin:
        case QEvent::TouchUpdate:
        case QEvent::TouchEnd:
        case QEvent::TouchCancel:
            return true;
        default:
            return false;
    }
}

class InputHold final : public QObject {
  public:
    InputHold() {
        QCoreApplication::instance()->installEventFilter(this);
        handler_guard::onIdle([this] { release(); });
    }

    int depth = 0;  // nested event passes that hold input

    int count() const { return static_cast<int>(m_held.size()); }

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (depth == 0 || !isOperatorInput(event->type())) {
            return false;
        }
        m_held.push_back({watched, std::unique_ptr<QEvent>(event->clone())});
        return true;
    }

  private:
    // Posted, not sent: the handler that just ended is still on the stack.
    void release() {
        std::vector<Held> held;
        held.swap(m_held);
        for (Held& h : held) {
            if (h.receiver != nullptr) {
                QCoreApplication::postEvent(h.receiver, h.event.release());
            }
        }
    }

    struct Held {
        QPointer<QObject> receiver;
        std::unique_ptr<QEvent> event;
    };
    std::vector<Held> m_held;
};

InputHold* hold() {
    if (QCoreApplication::instance() == nullptr) {
        return nullptr;
    }
    static InputHold* instance = new InputHold;  // lives as long as the application
    return instance;
}

}  // namespace

void processEventsExceptInput() {
    InputHold* h = hold();
    if (h == nullptr) {
        return;
    }
    struct Depth {
        int& depth;
        explicit Depth(int& d) : depth(d) { ++depth; }
        ~Depth() { --depth; }
        Depth(const Depth&) = delete;
        Depth& operator=(const Depth&) = delete;
    } holding(h->depth);
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

int heldCount() {
    const InputHold* h = hold();
    return h != nullptr ? h->count() : 0;
}

}  // namespace held_input
