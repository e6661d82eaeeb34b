// Report-style list view on a model: cheap appends and in-place updates, fixed row heights,
// no widget per cell. Rows are either texts the list keeps, or rows its owner keeps in its
// own form (ReportRows), whose cells become text only when the view shows them.
#pragma once

#include <QColor>
#include <QTableView>
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

class ReportModel;

// How one cell of a text row looks beyond its text: invalid colours are the list's own.
struct ReportItemStyle {
    QColor background;
    QColor text;
    bool italic = false;
    bool operator==(const ReportItemStyle&) const = default;
};

// Rows the list's owner keeps in its own form (decoded records, say). The list asks for a
// cell's text only while the view shows that cell, so a long list holds no strings.
class ReportRows {
  public:
    virtual ~ReportRows() = default;
    virtual int rowCount() const = 0;
    // Only asked for rows below rowCount() and columns below the list's column count.
    virtual std::string cellText(int row, int column) const = 0;
    virtual void clear() = 0;
    // The cell's background where its row or value is to stand out; none: the list's own.
    virtual std::optional<QColor> cellBackground(int /*row*/, int /*column*/) const {
        return std::nullopt;
    }
};

class CReportList : public QTableView {
  public:
    explicit CReportList(QWidget* parent = nullptr);
    ~CReportList() override;

    int insertColumn(int index, std::string_view heading, int widthPx);
    // Widens `column` (never narrows it) so that a cell holding `text` shows it whole.
    void widenColumnToText(int column, std::string_view text);
    int columnCount() const;
    std::string columnHeading(int column) const;
    // Inserts a row whose column 0 is `text`; returns its index.
    int insertItem(int row, std::string_view text);
    // Appends a whole row (missing cells are empty); returns its index.
    int appendRow(std::vector<std::string> cells);
    void setItemText(int row, int column, std::string_view text);
    std::string itemText(int row, int column) const;
    // A text row's cell colours and tip (shown when the pointer rests on it); a cell that is
    // not there, or rows the owner keeps, take neither.
    void setItemStyle(int row, int column, const ReportItemStyle& style);
    ReportItemStyle itemStyle(int row, int column) const;
    void setItemToolTip(int row, int column, std::string_view tip);
    std::string itemToolTip(int row, int column) const;
    int rowCount() const;
    void deleteAllItems();
    // The background the owner's rows give a cell (none for text rows).
    std::optional<QColor> cellBackground(int row, int column) const;
    // The owner's rows changed their texts or colours in place: the view shows them anew.
    void refreshCells();
    // The row with the list's cursor (the one selected); -1: none.
    int currentRow() const;

    // Shows `rows` from now on instead of text rows (null: back to text rows); the rows shown
    // before are dropped. The list owns them. While it shows them, the calls that insert or
    // change text rows do nothing (they return -1) and deleteAllItems() clears them.
    void setRows(std::unique_ptr<ReportRows> rows);
    ReportRows* rows() const;
    // Shows the rows that rows() gained since the last call, in one insert: the owner adds
    // rows as they come and decides how often the view catches up.
    void showNewRows();
    // Prefers the height that shows `rows` rows with the heading and a horizontal scroll bar.
    // Given less, the rows give up their padding first and only then does the list scroll.
    void fitRows(int rows);
    // Adds an entry to the list's context menu (a right click on the list) that runs
    // `action`; entries show in the order they were added.
    void addContextAction(std::string text, std::function<void()> action);
    // Wide enough for every column, so a layout gives a report its whole width.
    QSize sizeHint() const override;

  protected:
    void changeEvent(QEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

  private:
    void fitRowHeight();

    ReportModel* m_model;
    int m_preferredRows = 0;
};
