// CDialog life cycle: modeless and modal runs, message dispatch through the handler guard,
// and timers by id.
#include "Dialog.h"

#include <QCoreApplication>
#include <QFont>
#include <QKeyEvent>
#include <QPointer>
#include <QTimer>
#include <algorithm>
#include <exception>
#include <utility>

#include "HandlerGuard.h"
#include "MessageBox.h"
#include "TabCtrl.h"
#include "Utf8.h"

namespace {

CDialog::ModalHook& modalHook() {
    static CDialog::ModalHook hook;
    return hook;
}

// A zero period would make a timer fire on every pass of the event loop.
constexpr int kMinTimerPeriodMs = 10;

}  // namespace

CDialog::CDialog(const DialogTemplate& tpl, QWidget* parent) : QDialog(parent), m_template(tpl) {
    setWindowTitle(qstr(tpl.caption));
    if (!tpl.fontFace.empty()) {
        // Glyphs the face lacks come from its substitutes in the program's order, ahead of
        // whatever fontconfig would rank first.
        const QString face = qstr(tpl.fontFace);
        QFont font(face, tpl.fontPoints > 0 ? tpl.fontPoints : -1);
        font.setFamilies(QStringList{face} + QFont::substitutes(face));
        setFont(font);
    }
}

CDialog::~CDialog() {
    // Children outlive this part of the object while QWidget deletes them: cut every link
    // back into it first so no late signal reaches a half-destroyed dialog.
    for (auto& [id, control] : m_controls) {
        QObject::disconnect(control, nullptr, this, nullptr);
        if (auto* tab = dynamic_cast<CTabCtrl*>(control)) {
            tab->setUserSelChangeHandler({});
        }
    }
    for (auto& [id, timer] : m_timers) {
        delete timer;
    }
}

void CDialog::create(QWidget* parent) {
    m_modeless = true;
    setParent(parent, Qt::Widget);  // a child window placed by its owner, hidden until shown
    setAttribute(Qt::WA_Moved);     // else QDialog centres it on its first show
    hide();
    buildControls();
    onInitDialog();
}

int CDialog::doModal() {
    buildControls();
    setResult(0);
    // The handler that opens this dialog keeps running; this dialog's own handlers may run.
    handler_guard::ModalLevel level(this);
    onInitDialog();
    if (const ModalHook hook = modalHook()) {
        if (const std::optional<int> answer = hook(*this)) {
            return *answer;
        }
    }
    return exec();
}

void CDialog::endDialog(int result) {
    done(result);
}

void CDialog::setModalHook(ModalHook hook) {
    modalHook() = std::move(hook);
}

void CDialog::addMessage(int id, Notify code, std::function<void()> handler) {
    m_messages.emplace(std::make_pair(id, code), std::move(handler));
}

void CDialog::dispatch(int id, Notify code) {
    const auto [first, last] = m_messages.equal_range({id, code});
    if (first != last) {
        std::vector<std::function<void()>> handlers;
        for (auto it = first; it != last; ++it) {
            handlers.push_back(it->second);  // a handler may change the map
        }
        runFromEvent([&handlers] {
            for (const auto& handler : handlers) {
                handler();
            }
        });
    } else if (code == Notify::Clicked && id == IDOK) {
        runFromEvent([this] { onOK(); });
    } else if (code == Notify::Clicked && id == IDCANCEL) {
        runFromEvent([this] { onCancel(); });
    }
}

bool CDialog::runHandler(const std::function<void()>& handler) {
    if (!handler_guard::mayStart(this)) {
        return false;
    }
    handler_guard::Running running(this);
    if (handler) {
        handler();
    }
    return true;
}

bool CDialog::handlerRunning() {
    return handler_guard::anyRunning();
}

void CDialog::runFromEvent(const std::function<void()>& handler) {
    try {
        runHandler(handler);
    } catch (const std::exception& e) {
        qWarning("KORVAL: handler of dialog %d failed: %s", m_template.id, e.what());
    } catch (...) {
        qWarning("KORVAL: handler of dialog %d failed", m_template.id);
    }
}

void CDialog::reject() {
    if (m_modeless) {
        return;  // Escape must not make a page vanish from its slot
    }
    runFromEvent([this] { onCancel(); });
}

// A page has no default command and does not close: Enter and Escape end here, before the
// dialog looks for a button to press or the key reaches the window around the page.
void CDialog::keyPressEvent(QKeyEvent* event) {
    const int key = event->key();
    if (m_modeless && (key == Qt::Key_Return || key == Qt::Key_Enter || key == Qt::Key_Escape)) {
        event->accept();
        return;
    }
    QDialog::keyPressEvent(event);
}

void CDialog::accept() {
    runFromEvent([this] { onOK(); });
}

void CDialog::setTimer(int timerId, int periodMs) {
    QTimer*& timer = m_timers[timerId];
    if (timer == nullptr) {
        timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [this, timerId] { deliverTimer(timerId); });
    }
    timer->start(std::max(periodMs, kMinTimerPeriodMs));
}

void CDialog::killTimerById(int timerId) {
    // Stopped, not deleted: this may run inside that very timer's tick.
    if (const auto it = m_timers.find(timerId); it != m_timers.end()) {
        it->second->stop();
    }
}

bool CDialog::hasTimer(int timerId) const {
    const auto it = m_timers.find(timerId);
    return it != m_timers.end() && it->second->isActive();
}

void CDialog::deliverTimer(int timerId) {
    if (!handler_guard::mayTick(this)) {
        return;  // a tick during a handler is dropped; the next period brings the next one
    }
    // A tick that waited its whole time-out is followed at once by the next one: input
    // that came meanwhile (a stop, a tab switch, the close button) goes first, and may end
    // the reading or this very dialog.
    const QPointer<CDialog> self(this);
    QCoreApplication::processEvents();
    if (self == nullptr || !hasTimer(timerId) || !handler_guard::mayTick(this)) {
        return;
    }
    try {
        handler_guard::Running tick(this, handler_guard::Kind::Tick);
        onTimer(timerId);
    } catch (const std::exception& e) {
        qWarning("KORVAL: timer of dialog %d failed: %s", m_template.id, e.what());
    } catch (...) {
        qWarning("KORVAL: timer of dialog %d failed", m_template.id);
    }
}

void CDialog::messageBox(std::string_view text, std::string_view details) {
    ownedMessageBox(this, text, details);
}
