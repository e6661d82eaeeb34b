// The long-read box and the pacing of a long read's repaints and input.
#include "LongRead.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QDialog>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <algorithm>
#include <functional>
#include <utility>

#include "LinkSettings.h"
#include "MessageBox.h"
#include "ReadProgressText.h"
#include "ReportList.h"
#include "Strings.h"
#include "Utf8.h"

namespace {
// A read that ends sooner never shows the box (and takes no input meanwhile, as any command).
constexpr qint64 kShowBoxAfterMs = 400;
// The rows and the box catch up at most this often: ten repaints a second.
constexpr qint64 kRefreshPeriodMs = 100;
// How long one pass of the event loop may take inside a wait.
constexpr int kEventSliceMs = 20;
}  // namespace

// The box: what is read, a bar, and "取消". Escape and the window's close button cancel
// too; the box stays up, saying it stops, until the exchange in flight is over.
class LongReadBox final : public QDialog {
  public:
    LongReadBox(QWidget* owner, std::function<void()> onStop)
        : QDialog(owner), m_onStop(std::move(onStop)) {
        setWindowTitle(QString::fromUtf8(kAppName));
        setWindowModality(Qt::ApplicationModal);
        setObjectName(QStringLiteral("longReadBox"));
        auto* column = new QVBoxLayout(this);
        m_text = new QLabel(this);
        m_text->setTextFormat(Qt::PlainText);
        m_bar = new QProgressBar(this);
        m_bar->setMinimumWidth(320);
        m_cancel = new QPushButton(qstr(kCancelReadCaption), this);
        m_cancel->setAutoDefault(false);  // a stray Enter must not end an hour's read
        column->addWidget(m_text);
        column->addWidget(m_bar);
        column->addWidget(m_cancel, 0, Qt::AlignRight);
        connect(m_cancel, &QPushButton::clicked, this, [this] { stop(); });
    }

    void showProgress(const std::string& text, int done, int total) {
        if (!m_stopping) {
            m_text->setText(qstr(text));
        }
        m_bar->setRange(0, std::max(total, 1));
        m_bar->setValue(std::clamp(done, 0, std::max(total, 1)));
    }

    void stop() {
        if (!m_stopping) {
            m_stopping = true;
            m_text->setText(qstr(kStoppingReadText));
            m_cancel->setEnabled(false);
            m_onStop();
        }
    }

  protected:
    void reject() override { stop(); }  // Escape
    void closeEvent(QCloseEvent* event) override {
        event->ignore();
        stop();
    }

  private:
    std::function<void()> m_onStop;
    QLabel* m_text;
    QProgressBar* m_bar;
    QPushButton* m_cancel;
    bool m_stopping = false;
};

LongRead::LongRead(QWidget* owner, CReportList& list, std::string what, int total, int replyBytes)
    : LongRead(
          owner, [&list] { list.showNewRows(); }, std::move(what), total, replyBytes) {}

LongRead::LongRead(QWidget* owner, std::function<void()> showNew, std::string what, int total,
                   int replyBytes)
    : m_owner(owner),
      m_showNew(std::move(showNew)),
      m_what(std::move(what)),
      m_total(total),
      m_secondsPerRecord(recordLineSeconds(replyBytes, LinkSettings::baudRate)) {
    m_clock.start();
    m_hook = std::make_unique<ScopedLineWait>([this] { onWait(); });
}

LongRead::~LongRead() {
    m_hook.reset();
    m_showNew();
    if (m_box != nullptr) {
        m_box->hide();
        delete m_box;
    }
}

void LongRead::recordDone() {
    ++m_done;
    showBoxWhenDue();
    if (m_clock.elapsed() - m_lastRefreshMs >= kRefreshPeriodMs) {
        refresh();
    }
    takeInput();
}

void LongRead::showRows() {
    m_showNew();
}

void LongRead::requestStop() {
    if (m_stopRequested) {
        return;
    }
    m_stopRequested = true;
    if (m_box != nullptr) {
        m_box->stop();  // says so, whoever asked
    }
}

// While an exchange waits for its reply: the box may come up, and it takes the input.
// Until it does, the window paints as during any other command.
void LongRead::onWait() {
    showBoxWhenDue();
    if (m_box != nullptr) {
        takeInput();
    } else if (m_hook->previous()) {
        m_hook->previous()();
    }
}

void LongRead::showBoxWhenDue() {
    if (m_box != nullptr || m_stopRequested || m_clock.elapsed() < kShowBoxAfterMs) {
        return;
    }
    m_box = new LongReadBox(m_owner, [this] { requestStop(); });
    refresh();
    m_box->show();
}

void LongRead::refresh() {
    m_lastRefreshMs = m_clock.elapsed();
    m_showNew();
    if (m_box != nullptr) {
        const double left = m_secondsPerRecord > 0 ? (m_total - m_done) * m_secondsPerRecord : -1;
        m_box->showProgress(readProgressText(m_what, m_done, m_total, left), m_done, m_total);
    }
}

// Only once the box is up: before, input would reach controls that must not run now.
void LongRead::takeInput() {
    if (m_box != nullptr) {
        QCoreApplication::processEvents(QEventLoop::AllEvents, kEventSliceMs);
    }
}
