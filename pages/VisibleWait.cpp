// The visible wait: a busy box refreshed from the line's wait hook.
#include "VisibleWait.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QProgressDialog>

#include "RegisterCoding.h"
#include "SerialPort.h"

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
    setRxWaitHook([this] { refresh(); });
}

VisibleWait::~VisibleWait() {
    setRxWaitHook({});
    m_box->hide();
    delete m_box;
}

void VisibleWait::refresh() {
    const int seconds = static_cast<int>(m_clock.elapsed() / 1000);
    if (seconds != m_shownSeconds) {
        m_shownSeconds = seconds;
        m_box->setLabelText(
            QString::fromStdString(formatText("%s\n已等待 %d 秒", m_text.c_str(), seconds)));
    }
    QCoreApplication::processEvents(QEventLoop::AllEvents, kEventSliceMs);
}
