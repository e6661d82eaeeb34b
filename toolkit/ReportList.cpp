// CReportList: a QTableView in report style over a model of text rows or of the owner's own
// rows. Appends insert one row (or one batch), updates touch one cell, and rows have one
// fixed height, so large lists stay cheap. Its context menu holds the entries its owner adds.
#include "ReportList.h"

#include <QAbstractTableModel>
#include <QAction>
#include <QBrush>
#include <QEvent>
#include <QFont>
#include <QHeaderView>
#include <QScrollBar>
#include <QStyle>
#include <QStyleOptionViewItem>
#include <algorithm>
#include <utility>

#include "OwnMenu.h"
#include "Utf8.h"

namespace {
constexpr int kRowPaddingPx = 4;  // around a row's text, where there is room
}  // namespace

// Rows of cells; a row may hold fewer cells than there are columns (the rest are empty).
// With a ReportRows source the model keeps no cells: it shows the source's first m_shown
// rows and asks it for a cell's text when the view needs it.
class ReportModel final : public QAbstractTableModel {
  public:
    using QAbstractTableModel::QAbstractTableModel;

    int rowCount(const QModelIndex& parent = {}) const override {
        if (parent.isValid()) {
            return 0;
        }
        return m_source ? m_shown : static_cast<int>(m_rows.size());
    }

    int columnCount(const QModelIndex& parent = {}) const override {
        return parent.isValid() ? 0 : static_cast<int>(m_headings.size());
    }

    QVariant data(const QModelIndex& index, int role) const override {
        if (role == Qt::DisplayRole) {
            return cell(index.row(), index.column());
        }
        if (role == Qt::BackgroundRole) {
            const std::optional<QColor> color = background(index.row(), index.column());
            return color ? QVariant(*color) : QVariant();
        }
        if (role == Qt::TextAlignmentRole) {
            return QVariant::fromValue(Qt::Alignment(Qt::AlignLeft | Qt::AlignVCenter));
        }
        const Decor* decor = decorAt(index.row(), index.column());
        if (decor == nullptr) {
            return {};
        }
        switch (role) {
            case Qt::ForegroundRole:
                return decor->style.text.isValid() ? QVariant(decor->style.text) : QVariant();
            case Qt::FontRole:
                return decor->style.italic ? QVariant(italicFont()) : QVariant();
            case Qt::ToolTipRole:
                return decor->tip.isEmpty() ? QVariant() : QVariant(decor->tip);
            default:
                return {};
        }
    }

    void setStyle(int row, int column, const ReportItemStyle& style) {
        if (Decor* decor = decorFor(row, column); decor != nullptr && !(decor->style == style)) {
            decor->style = style;
            const QModelIndex changed = index(row, column);
            emit dataChanged(changed, changed,
                             {Qt::BackgroundRole, Qt::ForegroundRole, Qt::FontRole});
        }
    }

    ReportItemStyle style(int row, int column) const {
        const Decor* decor = decorAt(row, column);
        return decor != nullptr ? decor->style : ReportItemStyle{};
    }

    // A tip is read only when the pointer rests on the cell: no repaint is asked for.
    void setTip(int row, int column, QString tip) {
        if (Decor* decor = decorFor(row, column)) {
            decor->tip = std::move(tip);
        }
    }

    QString tip(int row, int column) const {
        const Decor* decor = decorAt(row, column);
        return decor != nullptr ? decor->tip : QString();
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
        for (auto& row : m_decor) {
            if (index < static_cast<int>(row.size())) {
                row.insert(row.begin() + index, Decor{});
            }
        }
        endInsertColumns();
        return index;
    }

    int addRow(int index, std::vector<QString> cells) {
        if (m_source) {
            return -1;
        }
        index = std::clamp(index, 0, rowCount());
        beginInsertRows({}, index, index);
        m_rows.insert(m_rows.begin() + index, std::move(cells));
        m_decor.insert(m_decor.begin() + index, std::vector<Decor>());
        endInsertRows();
        return index;
    }

    void setCell(int row, int column, QString text) {
        if (m_source || !inRange(row, column) || cell(row, column) == text) {
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
        if (m_source) {
            return qstr(m_source->cellText(row, column));
        }
        const auto& cells = m_rows[static_cast<std::size_t>(row)];
        return column < static_cast<int>(cells.size()) ? cells[static_cast<std::size_t>(column)]
                                                       : QString();
    }

    // The rows' own colour where they come from a source, else the cell's style.
    std::optional<QColor> background(int row, int column) const {
        if (m_source) {
            return inRange(row, column) ? m_source->cellBackground(row, column) : std::nullopt;
        }
        const Decor* decor = decorAt(row, column);
        return decor != nullptr && decor->style.background.isValid()
                   ? std::optional<QColor>(decor->style.background)
                   : std::nullopt;
    }

    void refresh() {
        if (rowCount() > 0 && columnCount() > 0) {
            emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
        }
    }

    QString heading(int column) const {
        return column >= 0 && column < columnCount() ? m_headings[static_cast<std::size_t>(column)]
                                                     : QString();
    }

    void clear() {
        beginResetModel();
        m_rows.clear();
        m_decor.clear();
        if (m_source) {
            m_source->clear();
        }
        m_shown = 0;
        endResetModel();
    }

    void setSource(std::unique_ptr<ReportRows> source) {
        beginResetModel();
        m_rows.clear();
        m_decor.clear();
        m_source = std::move(source);
        m_shown = 0;
        endResetModel();
    }

    ReportRows* source() const { return m_source.get(); }

    void showNewRows() {
        if (!m_source) {
            return;
        }
        const int total = std::max(m_source->rowCount(), 0);
        if (total < m_shown) {  // the owner dropped rows behind the list's back
            beginResetModel();
            m_shown = total;
            endResetModel();
        } else if (total > m_shown) {
            beginInsertRows({}, m_shown, total - 1);
            m_shown = total;
            endInsertRows();
        }
    }

  private:
    struct Decor {
        ReportItemStyle style;
        QString tip;
    };

    bool inRange(int row, int column) const {
        return row >= 0 && row < rowCount() && column >= 0 && column < columnCount();
    }

    // Only text rows carry colours and tips; a row grows its decor when first given one.
    Decor* decorFor(int row, int column) {
        if (m_source || !inRange(row, column)) {
            return nullptr;
        }
        auto& cells = m_decor[static_cast<std::size_t>(row)];
        if (column >= static_cast<int>(cells.size())) {
            cells.resize(static_cast<std::size_t>(column) + 1);
        }
        return &cells[static_cast<std::size_t>(column)];
    }

    const Decor* decorAt(int row, int column) const {
        if (m_source || !inRange(row, column)) {
            return nullptr;
        }
        const auto& cells = m_decor[static_cast<std::size_t>(row)];
        return column < static_cast<int>(cells.size()) ? &cells[static_cast<std::size_t>(column)]
                                                       : nullptr;
    }

    // The list's own face and size, slanted.
    QFont italicFont() const {
        const auto* view = qobject_cast<const QWidget*>(QObject::parent());
        QFont font = view != nullptr ? view->font() : QFont();
        font.setItalic(true);
        return font;
    }

    std::vector<QString> m_headings;
    std::vector<std::vector<QString>> m_rows;
    std::vector<std::vector<Decor>> m_decor;  // beside m_rows, row for row
    std::unique_ptr<ReportRows> m_source;
    int m_shown = 0;  // rows of m_source the view knows of
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
                       m_preferredRows * (fontMetrics().height() + kRowPaddingPx) +
                       horizontalScrollBar()->sizeHint().height() + 2 * frameWidth();
    return {std::max(base.width(), width), height};
}

void CReportList::fitRows(int rows) {
    m_preferredRows = rows;
    updateGeometry();
    fitRowHeight();
}

void CReportList::resizeEvent(QResizeEvent* event) {
    QTableView::resizeEvent(event);
    fitRowHeight();
}

void CReportList::changeEvent(QEvent* event) {
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        fitRowHeight();
    }
}

void CReportList::fitRowHeight() {
    const int text = fontMetrics().height();
    int row = text + kRowPaddingPx;
    if (m_preferredRows > 0 && viewport()->height() > 0) {
        // Short of room (a laptop screen), rows give up their padding before the list
        // scrolls, so the rows the owner asked for stay in view.
        row = std::clamp(viewport()->height() / m_preferredRows, text, row);
    }
    if (row != verticalHeader()->defaultSectionSize()) {
        verticalHeader()->setDefaultSectionSize(row);  // walks every row: only on a change
    }
}

void CReportList::addContextAction(std::string text, std::function<void()> action) {
    auto* entry = new QAction(qstr(text), this);
    connect(entry, &QAction::triggered, this, [run = std::move(action)] {
        if (run) {
            run();
        }
    });
    addAction(entry);
    setContextMenuPolicy(Qt::ActionsContextMenu);
    markOwnContextMenu(this);
}

int CReportList::insertColumn(int index, std::string_view heading, int widthPx) {
    const int column = m_model->addColumn(index, qstr(heading));
    setColumnWidth(column, std::max(widthPx, 0));
    return column;
}

void CReportList::widenColumnToText(int column, std::string_view text) {
    // Measured as the view's own cells are: the list's font (every face it falls back to)
    // and the style's margins.
    QStyleOptionViewItem cell;
    initViewItemOption(&cell);
    cell.features |= QStyleOptionViewItem::HasDisplay;
    cell.text = qstr(text);
    const int needed = style()->sizeFromContents(QStyle::CT_ItemViewItem, &cell, {}, this).width();
    setColumnWidth(column, std::max(columnWidth(column), needed));
}

int CReportList::columnCount() const {
    return m_model->columnCount();
}

std::string CReportList::columnHeading(int column) const {
    return utf8(m_model->heading(column));
}

void CReportList::setRows(std::unique_ptr<ReportRows> rows) {
    m_model->setSource(std::move(rows));
}

ReportRows* CReportList::rows() const {
    return m_model->source();
}

void CReportList::showNewRows() {
    m_model->showNewRows();
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

void CReportList::setItemStyle(int row, int column, const ReportItemStyle& style) {
    m_model->setStyle(row, column, style);
}

ReportItemStyle CReportList::itemStyle(int row, int column) const {
    return m_model->style(row, column);
}

void CReportList::setItemToolTip(int row, int column, std::string_view tip) {
    m_model->setTip(row, column, qstr(tip));
}

std::string CReportList::itemToolTip(int row, int column) const {
    return utf8(m_model->tip(row, column));
}

int CReportList::rowCount() const {
    return m_model->rowCount();
}

void CReportList::deleteAllItems() {
    m_model->clear();
}

std::optional<QColor> CReportList::cellBackground(int row, int column) const {
    return m_model->background(row, column);
}

void CReportList::refreshCells() {
    m_model->refresh();
}

int CReportList::currentRow() const {
    const QModelIndex current = currentIndex();
    return current.isValid() ? current.row() : -1;
}
