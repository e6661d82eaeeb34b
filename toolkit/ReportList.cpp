// CReportList: a QTableView in report style over a model of text rows. Appends insert one
// row, updates touch one cell, and rows have one fixed height, so large lists stay cheap.
#include "ReportList.h"

#include <QAbstractTableModel>
#include <QEvent>
#include <QHeaderView>
#include <QScrollBar>
#include <algorithm>
#include <utility>

#include "Utf8.h"

// Rows of cells; a row may hold fewer cells than there are columns (the rest are empty).
class ReportModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_rows.size());
    }

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole) {
            return cell(index.row(), index.column());
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        return {};
    }

    QVariant headerData(int section, Qt::Orientation orientation, int role) const override {
        if (orientation == Qt::Horizontal && role == Qt::DisplayRole) {
            return heading(section);
        }
        return {};
    }

    int addColumn(int index, QString heading) {
        index = std::clamp(index, 0, columnCount());
        beginInsertColumns({}, index, index);
        m_headings.insert(m_headings.begin() + index, std::move(heading));
        for (auto& row : m_rows) {
            if (index < static_cast<int>(row.size())) {
                row.insert(row.begin() + index, QString());
            }
        }
        endInsertColumns();
        return index;
    }

    int addRow(int index, std::vector<QString> cells) {
        index = std::clamp(index, 0, rowCount());
        beginInsertRows({}, index, index);
        m_rows.insert(m_rows.begin() + index, std::move(cells));
        endInsertRows();
        return index;
    }

    void setCell(int row, int column, QString text) {
        if (!inRange(row, column) || cell(row, column) == text) {
            return;  // an unchanged cell is not repainted
        }
        auto& cells = m_rows[static_cast<std::size_t>(row)];
        if (column >= static_cast<int>(cells.size())) {
            cells.resize(static_cast<std::size_t>(column) + 1);
        }
        cells[static_cast<std::size_t>(column)] = std::move(text);
        const QModelIndex changed = index(row, column);
        emit dataChanged(changed, changed, {Qt::DisplayRole});
    }

    QString cell(int row, int column) const {
        if (!inRange(row, column)) {
            return {};
        }
        const auto& cells = m_rows[static_cast<std::size_t>(row)];
        return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                       : QString();
    }

    QString heading(int column) const {
        return column >= 0 && column < columnCount() ? m_headings[static_cast<std::size_t>(column)]
                                                     : QString();
    }

    void clear() {
        beginResetModel();
        m_rows.clear();
        endResetModel();
    }

  private:
    bool inRange(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    }

    std::vector<QString> m_headings;
    std::vector<std::vector<QString>> m_rows;
};

CReportList::CReportList(QWidget* parent) : QTableView(parent), m_model(new ReportModel(this)) {
    setModel(m_model);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(false);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    setHorizontalScrollMode(QAbstractItemView::ScrollPerPixel);
    QHeaderView* rows = verticalHeader();
    rows->hide();
    rows->setSectionResizeMode(QHeaderView::Fixed);  // never measures rows' contents
    rows->setMinimumSectionSize(1);
    QHeaderView* columns = horizontalHeader();
    columns->setSectionResizeMode(QHeaderView::Interactive);
    columns->setStretchLastSection(false);
    columns->setHighlightSections(false);
    columns->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    fitRowHeight();
}

CReportList::~CReportList() = default;

QSize CReportList::sizeHint() const {
    const QSize base = QTableView::sizeHint();
    const int width =
        horizontalHeader()->length() + 2 * frameWidth() + verticalScrollBar()->sizeHint().width();
    if (m_preferredRows <= 0) {
        return {std::max(base.width(), width), base.height()};
    }
    const int height = horizontalHeader()->sizeHint().height() +
                       m_preferredRows * verticalHeader()->defaultSectionSize() +
                       horizontalScrollBar()->sizeHint().height() + 2 * frameWidth();
    return {std::max(base.width(), width), height};
}

void CReportList::fitRows(int rows) {
    m_preferredRows = rows;
    updateGeometry();
}

void CReportList::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitRowHeight();
    }
}

void CReportList::fitRowHeight() {
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
}

int CReportList::insertColumn(int index, std::string_view heading, int widthPx) {
    const int column = m_model->addColumn(index, qstr(heading));
    setColumnWidth(column, std::max(widthPx, 0));
    return column;
}

int CReportList::columnCount() const {
    return m_model->columnCount();
}

std::string CReportList::columnHeading(int column) const {
    return utf8(m_model->heading(column));
}

int CReportList::insertItem(int row, std::string_view text) {
    return m_model->addRow(row, {qstr(text)});
}

int CReportList::appendRow(std::vector<std::string> cells) {
    std::vector<QString> row;
    row.reserve(cells.size());
    for (const auto& text : cells) {
        row.push_back(qstr(text));
    }
    return m_model->addRow(m_model->rowCount(), std::move(row));
}

void CReportList::setItemText(int row, int column, std::string_view text) {
    m_model->setCell(row, column, qstr(text));
}

std::string CReportList::itemText(int row, int column) const {
    return utf8(m_model->cell(row, column));
}

int CReportList::rowCount() const {
    return m_model->rowCount();
}

void CReportList::deleteAllItems() {
    m_model->clear();
}
