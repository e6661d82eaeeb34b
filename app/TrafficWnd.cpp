// The traffic monitor window: a table model over the traffic record's ring, refreshed in
// batches while the window is shown and let go while it is hidden, so that the window
// never holds more exchanges than the ring does.
#include "TrafficWnd.h"

#include <QAbstractTableModel>
#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QScrollBar>
#include <QTableView>
#include <QTimer>
#include <QVBoxLayout>
#include <deque>
#include <vector>

#include "Icon.h"
#include "MessageBox.h"
#include "RegisterCoding.h"
#include "Strings.h"
#include "TrafficText.h"
#include "Utf8.h"

// The rows of the monitor, each a record copied from the ring; texts are made only for the
// cells the view asks for.
class CTrafficModel : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }
    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : kTrafficColumnCount;
    }
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // Drops the rows whose records left the ring and appends the new ones; true when rows
    // were appended.
    bool update(const TrafficRecorder& recorder);
    // Lets go of every row; the next update takes in the whole ring again.
    void release();
    std::vector<TrafficRow> rows() const { return {m_rows.begin(), m_rows.end()}; }

  private:
    void dropBefore(uint64_t firstKept);

    std::deque<TrafficRow> m_rows;
    uint64_t m_next = 0;  // the sequence number to ask the recorder for next
};

QVariant CTrafficModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rowCount()) {
        return {};
    }
    const int column = index.column();
    const bool bytes = column == kTrafficRequestColumn || column == kTrafficReplyColumn;
    if (role == Qt::DisplayRole || (role == Qt::ToolTipRole && bytes)) {
        return qstr(trafficCell(m_rows[static_cast<size_t>(index.row())], column));
    }
    if (role == Qt::TextAlignmentRole && column == kTrafficOnLineColumn) {
        return static_cast<int>(Qt::AlignRight | Qt::AlignVCenter);
    }
    return {};
}

QVariant CTrafficModel::headerData(int section, Qt::Orientation orientation, int role) const {
    if (orientation == Qt::Horizontal && role == Qt::DisplayRole && section >= 0 &&
        section < kTrafficColumnCount) {
        return qstr(kTrafficColumns[section]);
    }
    return QAbstractTableModel::headerData(section, orientation, role);
}

void CTrafficModel::dropBefore(uint64_t firstKept) {
    size_t gone = 0;
    while (gone < m_rows.size() && m_rows[gone].record->sequence < firstKept) {
        ++gone;
    }
    if (gone == 0) {
        return;
    }
    beginRemoveRows({}, 0, static_cast<int>(gone) - 1);
    m_rows.erase(m_rows.begin(), m_rows.begin() + static_cast<std::ptrdiff_t>(gone));
    endRemoveRows();
}

bool CTrafficModel::update(const TrafficRecorder& recorder) {
    const std::vector<TrafficRecorder::Entry> added = recorder.since(m_next);
    dropBefore(recorder.firstKept());
    if (added.empty()) {
        return false;
    }
    std::vector<TrafficRow> rows;
    rows.reserve(2 * added.size());
    for (const TrafficRecorder::Entry& record : added) {
        if (!record->discarded.empty()) {
            rows.push_back({record, true});
        }
        rows.push_back({record, false});
    }
    const int first = rowCount();
    beginInsertRows({}, first, first + static_cast<int>(rows.size()) - 1);
    m_rows.insert(m_rows.end(), rows.begin(), rows.end());
    endInsertRows();
    m_next = added.back()->sequence + 1;
    return true;
}

void CTrafficModel::release() {
    beginResetModel();
    m_rows.clear();
    m_next = 0;
    endResetModel();
}

namespace {

constexpr int kMarginChars = 2;
const QSize kInitialSize(960, 420);

// Column widths that fit typical contents; the last column takes the rest, and longer
// byte strings are elided (their tooltip shows them whole).
void sizeColumns(QTableView* view) {
    const QFontMetrics metrics(view->font());
    const auto width = [&](const char* sample) {
        return metrics.horizontalAdvance(qstr(sample)) + kMarginChars * metrics.averageCharWidth();
    };
    QHeaderView* header = view->horizontalHeader();
    header->resizeSection(kTrafficTimeColumn, width("00:00:00.000"));
    header->resizeSection(kTrafficRequestColumn, width("01 10 10 00 00 04 08 00 00"));
    header->resizeSection(kTrafficReplyColumn, width("01 03 F2 00 00 00 00 00 00 00 00 00 00"));
    header->resizeSection(kTrafficOnLineColumn, width("00000.0"));
    header->resizeSection(kTrafficOutcomeColumn, width("长度错误"));
    header->setStretchLastSection(true);
}

}  // namespace

CTrafficWnd::CTrafficWnd(QWidget* owner)
    : QWidget(owner, Qt::Window),
      m_model(new CTrafficModel(this)),
      m_view(new QTableView(this)),
      m_save(new QPushButton(qstr(kTrafficSaveCaption), this)),
      m_clear(new QPushButton(qstr(kTrafficClearCaption), this)),
      m_timer(new QTimer(this)) {
    setWindowTitle(qstr(kTrafficCaption));
    setWindowIcon(korvalIcon());
    m_view->setModel(m_model);
    m_view->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_view->setWordWrap(false);
    m_view->verticalHeader()->hide();
    // Every row as high as the first, so that thousands of rows cost nothing to lay out.
    m_view->verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    m_view->verticalHeader()->setDefaultSectionSize(m_view->fontMetrics().height() + 4);
    sizeColumns(m_view);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_save);
    buttons->addWidget(m_clear);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_view);
    layout->addLayout(buttons);
    resize(kInitialSize);

    connect(m_save, &QPushButton::clicked, this, [this] { askAndSave(); });
    connect(m_clear, &QPushButton::clicked, this, [this] { clearRows(); });
    m_timer->setInterval(kRefreshMs);
    connect(m_timer, &QTimer::timeout, this, [this] { refresh(); });
}

CTrafficWnd::~CTrafficWnd() = default;

CTrafficWnd* CTrafficWnd::of(const QWidget* owner) {
    // dynamic_cast, not findChild: without moc every widget would pass qobject_cast's test.
    for (QObject* child : owner->children()) {
        if (auto* wnd = dynamic_cast<CTrafficWnd*>(child)) {
            return wnd;
        }
    }
    return nullptr;
}

CTrafficWnd* CTrafficWnd::showFor(QWidget* owner) {
    CTrafficWnd* wnd = of(owner);
    if (wnd == nullptr) {
        wnd = new CTrafficWnd(owner);
    }
    wnd->show();
    wnd->raise();
    wnd->activateWindow();
    return wnd;
}

void CTrafficWnd::refresh() {
    const QScrollBar* bar = m_view->verticalScrollBar();
    const bool atEnd = bar->value() == bar->maximum();
    if (m_model->update(trafficRecorder()) && atEnd) {
        m_view->scrollToBottom();
    }
}

bool CTrafficWnd::saveTo(const std::string& path) {
    if (saveTrafficText(path, m_model->rows())) {
        return true;
    }
    ownedMessageBox(this, formatText(kMsgTrafficSaveFailed, path.c_str()));
    return false;
}

void CTrafficWnd::askAndSave() {
    const QString path = QFileDialog::getSaveFileName(
        this, qstr(kTrafficSaveTitle), QDir::home().filePath(qstr(kTrafficDefaultFile)),
        qstr(kTrafficFileFilter));
    if (!path.isEmpty()) {
        saveTo(QFile::encodeName(path).toStdString());
    }
}

void CTrafficWnd::clearRows() {
    trafficRecorder().clear();
    refresh();
}

void CTrafficWnd::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    refresh();
    m_view->scrollToBottom();
    m_timer->start();
}

// A hidden window keeps nothing: the ring alone holds the records until it is shown again.
void CTrafficWnd::hideEvent(QHideEvent* event) {
    m_timer->stop();
    m_model->release();
    QWidget::hideEvent(event);
}
