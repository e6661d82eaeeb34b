// The report list (large lists, one-cell updates, clamped inserts), the check-box tree and
// the tab control's page area.
#include <gtest/gtest.h>

#include <QHeaderView>
#include <QTabBar>
#include <memory>
#include <string>

#include "CheckTree.h"
#include "Dialog.h"
#include "ReportList.h"
#include "TabCtrl.h"
#include "ToolkitTestSupport.h"

namespace {

std::string cellText(int row, int column) {
    return "r" + std::to_string(row) + "c" + std::to_string(column);
}

struct ModelSignals {
    explicit ModelSignals(CReportList& list) {
        QAbstractItemModel* model = list.model();
        QObject::connect(model, &QAbstractItemModel::dataChanged, model,
                         [this](const QModelIndex& from, const QModelIndex& to) {
                             changed.emplace_back(from, to);
                         });
        QObject::connect(model, &QAbstractItemModel::rowsInserted, model, [this] { ++inserts; });
        QObject::connect(model, &QAbstractItemModel::modelReset, model, [this] { ++resets; });
    }
    std::vector<std::pair<QModelIndex, QModelIndex>> changed;
    int inserts = 0;
    int resets = 0;
};

TEST(ReportList, ThousandsOfWideRowsAppendOneByOneAndKeepTheirTexts) {
    CReportList list;
    constexpr int kColumns = 42;
    constexpr int kRows = 5000;
    for (int c = 0; c < kColumns; ++c) {
        EXPECT_EQ(list.insertColumn(c, "电池" + std::to_string(c), 60 + c), c);
    }
    ModelSignals seen(list);
    for (int r = 0; r < kRows; ++r) {
        std::vector<std::string> row;
        for (int c = 0; c < kColumns; ++c) {
            row.push_back(cellText(r, c));
        }
        ASSERT_EQ(list.appendRow(std::move(row)), r);
    }
    list.resize(800, 600);
    list.show();

    EXPECT_EQ(list.rowCount(), kRows);
    EXPECT_EQ(list.model()->rowCount(), kRows);
    EXPECT_EQ(seen.inserts, kRows);
    EXPECT_EQ(seen.resets, 0);
    for (int r : {0, 2500, kRows - 1}) {
        for (int c : {0, 17, kColumns - 1}) {
            EXPECT_EQ(list.itemText(r, c), cellText(r, c));
        }
    }
    EXPECT_EQ(list.columnCount(), kColumns);
    EXPECT_EQ(list.columnHeading(41), "电池41");
    EXPECT_EQ(list.columnWidth(3), 63);
    EXPECT_EQ(list.model()->headerData(41, Qt::Horizontal).toString().toStdString(), "电池41");
    EXPECT_EQ(list.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
    EXPECT_FALSE(list.verticalHeader()->isVisible());
    EXPECT_EQ(list.rowHeight(0), list.rowHeight(kRows - 1));
    EXPECT_EQ(list.selectionBehavior(), QAbstractItemView::SelectRows);
}

TEST(ReportList, SetItemTextRepaintsOneCellAndOnlyWhenTheTextChanges) {
    CReportList list;
    list.insertColumn(0, "序号", 40);
    list.insertColumn(1, "电压", 80);
    list.insertColumn(2, "内阻", 80);
    list.appendRow({"1", "2.001", "0.31"});
    list.insertItem(1, "2");  // only column 0 is given
    ModelSignals seen(list);

    list.setItemText(0, 1, "2.002");
    ASSERT_EQ(seen.changed.size(), 1u);
    EXPECT_EQ(seen.changed[0].first, list.model()->index(0, 1));
    EXPECT_EQ(seen.changed[0].second, list.model()->index(0, 1));
    list.setItemText(0, 1, "2.002");
    EXPECT_EQ(seen.changed.size(), 1u);

    list.setItemText(1, 2, "0.44");  // past the cells the row was given
    EXPECT_EQ(list.itemText(1, 2), "0.44");
    EXPECT_EQ(list.itemText(1, 1), "");
    list.setItemText(1, 1, "");  // still empty: nothing to repaint
    EXPECT_EQ(seen.changed.size(), 2u);

    for (auto [row, column] : {std::pair{-1, 0}, {2, 0}, {0, -1}, {0, 3}, {99999, 99999}}) {
        list.setItemText(row, column, "x");
        EXPECT_EQ(list.itemText(row, column), "");
    }
    EXPECT_EQ(seen.changed.size(), 2u);
    EXPECT_EQ(list.rowCount(), 2);
}

TEST(ReportList, InsertsAreClampedColumnsShiftCellsAndDeleteAllResets) {
    CReportList list;
    list.insertColumn(0, "a", 10);
    list.insertColumn(7, "c", 10);  // past the end: appended
    EXPECT_EQ(list.columnHeading(1), "c");
    EXPECT_EQ(list.insertItem(-5, "first"), 0);
    EXPECT_EQ(list.insertItem(100, "last"), 1);
    EXPECT_EQ(list.insertItem(1, "middle"), 1);
    EXPECT_EQ(list.itemText(0, 0), "first");
    EXPECT_EQ(list.itemText(1, 0), "middle");
    EXPECT_EQ(list.itemText(2, 0), "last");

    list.appendRow({"x", "y", "beyond the columns"});
    EXPECT_EQ(list.itemText(3, 2), "");
    EXPECT_EQ(list.insertColumn(1, "b", 10), 1);
    EXPECT_EQ(list.itemText(3, 0), "x");
    EXPECT_EQ(list.itemText(3, 1), "");
    EXPECT_EQ(list.itemText(3, 2), "y");
    EXPECT_EQ(list.columnHeading(2), "c");
    EXPECT_EQ(list.columnHeading(3), "");

    ModelSignals seen(list);
    list.deleteAllItems();
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(seen.resets, 1);
    EXPECT_EQ(list.columnCount(), 3);
    EXPECT_EQ(list.itemText(0, 0), "");
}

// Colours and tips belong to their cell: they move with it when rows or columns are put
// before it, reach the view through the model's roles, and go with the rows.
TEST(ReportList, ItemStylesAndTipsStayWithTheirCell) {
    CReportList list;
    list.insertColumn(0, "a", 10);
    list.insertColumn(1, "b", 10);
    list.insertItem(0, "one");
    list.insertItem(1, "two");
    const ReportItemStyle over{QColor(Qt::darkRed), QColor(Qt::white), false};
    const ReportItemStyle old{QColor(), QColor(Qt::gray), true};
    list.setItemStyle(1, 1, over);
    list.setItemToolTip(1, 1, "超过上限");
    list.setItemStyle(0, 0, old);

    ModelSignals seen(list);
    list.setItemStyle(1, 1, over);  // unchanged: nothing repainted
    EXPECT_TRUE(seen.changed.empty());
    list.insertItem(0, "zero");
    list.insertColumn(0, "first", 10);
    EXPECT_EQ(list.itemText(2, 1), "two");
    EXPECT_EQ(list.itemStyle(2, 2), over);
    EXPECT_EQ(list.itemToolTip(2, 2), "超过上限");
    EXPECT_EQ(list.itemStyle(1, 1), old);
    EXPECT_EQ(list.itemStyle(0, 1), ReportItemStyle{});
    EXPECT_EQ(list.itemToolTip(0, 1), "");

    const QAbstractItemModel* model = list.model();
    EXPECT_EQ(model->data(model->index(2, 2), Qt::BackgroundRole).value<QColor>(),
              QColor(Qt::darkRed));
    EXPECT_EQ(model->data(model->index(2, 2), Qt::ForegroundRole).value<QColor>(),
              QColor(Qt::white));
    EXPECT_EQ(model->data(model->index(2, 2), Qt::ToolTipRole).toString(), "超过上限");
    EXPECT_FALSE(model->data(model->index(1, 1), Qt::BackgroundRole).isValid());
    EXPECT_TRUE(model->data(model->index(1, 1), Qt::FontRole).value<QFont>().italic());
    EXPECT_FALSE(model->data(model->index(0, 0), Qt::ToolTipRole).isValid());

    list.setItemStyle(9, 9, over);  // no such cell: ignored
    list.deleteAllItems();
    list.insertItem(0, "again");
    list.insertItem(1, "again");
    list.insertItem(2, "again");
    EXPECT_EQ(list.itemStyle(2, 2), ReportItemStyle{});
    EXPECT_EQ(list.itemToolTip(2, 2), "");
}

// Rows kept as numbers, made into text only when asked; counts how often it was asked.
class NumberRows final : public ReportRows {
  public:
    int rowCount() const override { return static_cast<int>(values.size()); }
    std::string cellText(int row, int column) const override {
        ++asked;
        return std::to_string(values[static_cast<size_t>(row)] * (column + 1));
    }
    void clear() override { values.clear(); }

    std::vector<int> values;
    mutable int asked = 0;
};

TEST(ReportList, OwnRowsBecomeTextOnlyWhereTheViewShowsThem) {
    CReportList list;
    for (int c = 0; c < 42; ++c) {
        list.insertColumn(c, "通道" + std::to_string(c), 60);
    }
    auto owned = std::make_unique<NumberRows>();
    NumberRows* rows = owned.get();
    list.setRows(std::move(owned));
    EXPECT_EQ(list.rows(), rows);
    ModelSignals seen(list);

    for (int r = 0; r < 10000; ++r) {
        rows->values.push_back(r);
    }
    EXPECT_EQ(list.rowCount(), 0) << "rows appear when the owner says so";
    list.showNewRows();
    list.showNewRows();  // nothing new: no insert
    EXPECT_EQ(seen.inserts, 1);
    EXPECT_EQ(list.rowCount(), 10000);
    list.resize(600, 400);
    list.show();
    list.grab();  // paints the visible part
    EXPECT_GT(rows->asked, 0);
    EXPECT_LT(rows->asked, 2000) << "only the cells in view, not 420,000";
    EXPECT_EQ(list.itemText(9999, 2), "29997");
    EXPECT_EQ(list.itemText(10000, 0), "");
    EXPECT_EQ(list.itemText(0, 42), "");

    // Text-row calls have no rows to work on.
    EXPECT_EQ(list.insertItem(0, "x"), -1);
    EXPECT_EQ(list.appendRow({"x"}), -1);
    list.setItemText(0, 0, "x");
    EXPECT_EQ(list.itemText(0, 0), "0");
    EXPECT_TRUE(seen.changed.empty());

    // Rows the owner dropped behind the list's back are not asked for.
    rows->values.resize(5);
    list.showNewRows();
    EXPECT_EQ(list.rowCount(), 5);
    EXPECT_EQ(seen.resets, 1);

    list.deleteAllItems();
    EXPECT_EQ(rows->rowCount(), 0) << "the owner's rows go too";
    EXPECT_EQ(list.rowCount(), 0);
    rows->values = {7};
    list.showNewRows();
    EXPECT_EQ(list.itemText(0, 1), "14");

    list.setRows(nullptr);
    EXPECT_EQ(list.rowCount(), 0);
    EXPECT_EQ(list.appendRow({"a", "b"}), 0);
    EXPECT_EQ(list.itemText(0, 1), "b");
}

TEST(CheckTree, ItemsCarryChecksAndAreFoundDepthFirst) {
    CCheckTree tree;
    QTreeWidgetItem* root = tree.insertItem("曲线组");
    std::vector<QTreeWidgetItem*> cells;
    for (int i = 1; i <= 40; ++i) {
        cells.push_back(tree.insertItem("电池" + std::to_string(i), root));
    }
    QTreeWidgetItem* second = tree.insertItem("电池3");  // same text, later, at top level

    EXPECT_TRUE(root->flags().testFlag(Qt::ItemIsUserCheckable));
    EXPECT_FALSE(tree.getCheck(root));
    EXPECT_EQ(tree.children(), (std::vector<QTreeWidgetItem*>{root, second}));
    EXPECT_EQ(tree.children(root), cells);
    EXPECT_EQ(tree.findItem("电池3"), cells[2]);
    EXPECT_EQ(tree.findItem("电池40"), cells[39]);
    EXPECT_EQ(tree.findItem("电池41"), nullptr);

    tree.setCheck(cells[4], true);
    EXPECT_TRUE(tree.getCheck(cells[4]));
    tree.setCheck(cells[4], false);
    EXPECT_FALSE(tree.getCheck(cells[4]));
    tree.setCheck(nullptr, true);
    EXPECT_FALSE(tree.getCheck(nullptr));
    EXPECT_TRUE(tree.children(cells[0]).empty());

    CCheckTree other;
    QTreeWidgetItem* foreign = other.insertItem("别处");
    EXPECT_EQ(tree.insertItem("x", foreign), nullptr);
    EXPECT_EQ(foreign->childCount(), 0);
}

TEST(TabCtrl, PagesMadeInThePageAreaFillItBelowTheStrip) {
    const DialogTemplate pageTemplate{
        500, "", "", 10, {tpl::control(ControlKind::PushButton, 1, "读取", {0, 0})}};
    CTabCtrl tabs;
    tabs.insertItem(0, "通讯参数设置");
    tabs.insertItem(1, "总电流");
    CDialog first(pageTemplate), second(pageTemplate);
    first.create(tabs.pageArea());
    second.create(tabs.pageArea());
    tabs.resize(700, 500);
    tabs.show();
    first.show();

    QWidget* area = tabs.pageArea();
    EXPECT_GE(area->mapTo(&tabs, QPoint(0, 0)).y(), tabs.tabBar()->height());
    EXPECT_EQ(first.geometry(), area->rect());
    EXPECT_TRUE(second.isHidden());
    EXPECT_GE(area->sizeHint().width(), second.sizeHint().width());

    first.hide();
    second.show();
    EXPECT_EQ(second.geometry(), area->rect());
    tabs.resize(900, 650);
    EXPECT_EQ(second.geometry(), area->rect());
    EXPECT_EQ(first.geometry(), area->rect());

    EXPECT_EQ(tabs.itemText(2), "");
    EXPECT_EQ(tabs.itemText(-1), "");
    tabs.setCurSel(5);
    EXPECT_EQ(tabs.curSel(), 0);
}

}  // namespace
