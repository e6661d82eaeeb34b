// The visible wait: a busy box refreshed from the line's wait hook.
#include "VisibleWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>
#include <algorithm>

#include "EventLoop.h"
#include "RegisterCoding.h"

namespace {
// Repaints are cheap, but a wait polls every few milliseconds; this is often enough.
constexpr int kEventSliceMs = 20;
}  // namespace

VisibleWait::VisibleWait(QWidget* owner, std::string text)
    : m_box(new QProgressDialog(owner)), m_text(std::move(text)) {
    m_box->setWindowTitle(QStringLiteral("KORVAL"));
    m_box->setCancelButton(nullptr);
    m_box->setRange(0, 0);  // a busy bar: the device does not say how far it is
    m_box->setWindowModality(Qt::ApplicationModal);
    m_box->setMinimumDuration(0);
    m_box->setAutoClose(false);
    m_box->setAutoReset(false);
    m_clock.start();
    refresh();
    m_box->show();
    QCoreApplication::processEvents();
    m_hook = std::make_unique<ScopedLineWait>([this] { refresh(); });
}

VisibleWait::~VisibleWait() {
    m_hook.reset();
    m_box->hide();
    delete m_box;
}

void VisibleWait::sleepFor(int ms) {
    QElapsedTimer slept;
    slept.start();
    for (qint64 left = ms; left > 0; left = ms - slept.elapsed()) {
        showSeconds(true, static_cast<int>((left + 999) / 1000));
        runEventsFor(static_cast<int>(std::min<qint64>(left, kEventSliceMs)));
    }
}

void VisibleWait::refresh() {
    showSeconds(false, static_cast<int>(m_clock.elapsed() / 1000));
    QCoreApplication::processEvents(QEventLoop::AllEvents, kEventSliceMs);
}

// The seconds still to wait when counting down, else the seconds waited so far.
void VisibleWait::showSeconds(bool countdown, int seconds) {
    if (seconds == m_shownSeconds) {
        return;
    }
    m_shownSeconds = seconds;
    const std::string text = countdown ? formatText("%s\n还需 %d 秒", m_text.c_str(), seconds)
                                       : formatText("%s\n已等待 %d 秒", m_text.c_str(), seconds);
    m_box->setLabelText(QString::fromStdString(text));
}
