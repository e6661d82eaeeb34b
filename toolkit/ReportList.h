// Report-style list view on a model: cheap appends and in-place updates, fixed row heights,
// no widget per cell.
#pragma once

#include <QTableView>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

class ReportModel;

class CReportList : public QTableView {
  public:
    explicit CReportList(QWidget* parent = nullptr);
    ~CReportList() override;

    int insertColumn(int index, std::string_view heading, int widthPx);
    int columnCount() const;
    std::string columnHeading(int column) const;
    // Inserts a row whose column 0 is `text`; returns its index.
    int insertItem(int row, std::string_view text);
    // Appends a whole row (missing cells are empty); returns its index.
    int appendRow(std::vector<std::string> cells);
    void setItemText(int row, int column, std::string_view text);
    std::string itemText(int row, int column) const;
    int rowCount() const;
    void deleteAllItems();
    // Prefers the height that shows `rows` rows with the heading and a horizontal scroll bar;
    // a layout short of room may still give it less (it then scrolls).
    void fitRows(int rows);
    // Wide enough for every column, so a layout gives a report its whole width.
    QSize sizeHint() const override;

  protected:
    void changeEvent(QEvent* event) override;

  private:
    void fitRowHeight();

    ReportModel* m_model;
    int m_preferredRows = 0;
};
