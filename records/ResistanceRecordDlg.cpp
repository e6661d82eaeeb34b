// Internal-resistance record dialog: the common record commands on registers 0x2000-0x2002.
// Its whole-range read alone goes on past a rejected record. The baseline, the thresholds
// and the trend work on the records read and on the program's judge state; none of them
// talks to the device.
#include "ResistanceRecordDlg.h"

#include <QDateTime>
#include <QScrollBar>
#include <array>

#include "CheckTree.h"
#include "CurveChartCtrl.h"
#include "DeviceRegisters.h"
#include "RegisterCoding.h"
#include "ResistanceRows.h"
#include "Strings.h"
#include "Templates.h"
#include "Utf8.h"
#include "ids/RecordResistanceIds.h"

namespace ids = idc::resistance_records;
using D = CResistanceRecordDlg;

const MessageEntry<D> D::kMessageMap[] = {
    {ids::kSetBaseline, Notify::Clicked, &D::OnSetBaseline},
    {ids::kClearBaseline, Notify::Clicked, &D::OnClearBaseline},
    {ids::kApplyThresholds, Notify::Clicked, &D::OnApplyThresholds},
    {ids::kTrendView, Notify::Clicked, &D::OnTrendView},
    {ids::kList, Notify::SelChange, &D::OnRecordChosen},
    {ids::kTrendChannels, Notify::Clicked, &D::OnChannelClick},
    {ids::kTrendChannels, Notify::CheckChange, &D::OnChannelCheckChange},
};

namespace {
const RecordDialogSpec kSpec{
    .templateId = IDD_RESISTANCE_RECORDS,
    .kind = RecordKind::Resistance,
    .what = "内阻记录",
    .countRegister = reg::kResistanceRecords,
    .windowRegister = reg::kResistanceWindow,
    .listId = ids::kList,
    .countEditId = ids::kCount,
    .startEditId = ids::kRangeStart,
    .endEditId = ids::kRangeEnd,
    .readButtons = {ids::kReadAll, ids::kReadRange},
    .refusal = kMsgNoResistanceRecords,
    .deleteOk = kMsgRecordsDeleted,
    .deleteFailed = kMsgCheckFailed,
    .readAll = {500, 500},
    .wholeRange = {1000, 500},
    .partRange = {1000, 1000},
    .wholeRangeReadsOn = true,
};

constexpr int kTimeColumn = 1;
constexpr int kWorstColumnPx = 130;
constexpr int kChangeListRows = 3;
// The trend chart fills the room the lists leave it, down to this.
constexpr QSize kTrendMinimum{480, 260};
constexpr const char* kWidestTimeStamp = "2024/12/27/10/29/53";
constexpr int kChannelListWidthPx = 110;
}  // namespace

CResistanceRecordDlg::CResistanceRecordDlg(QWidget* parent) : CRangeRecordDlg(kSpec, parent) {
    useMessageMap<D>(kMessageMap);
}

CResistanceRecordDlg::~CResistanceRecordDlg() {
    if (m_judging) {  // set up with the window; a dialog never created has no rows yet
        rows().setExtras(nullptr);
    }
}

bool CResistanceRecordDlg::onInitDialog() {
    CRangeRecordDlg::onInitDialog();
    CReportList* list = reportList(ids::kList);
    m_judging = std::make_unique<ResistanceJudging>(rows());
    rows().setExtras(m_judging.get());
    list->insertColumn(list->columnCount(), kChangeWorstHeading, kWorstColumnPx);
    setUpChangeList();
    setUpChart();
    buildChannels();
    showThresholds();
    showJudgement();
    return true;
}

// The change list has the record list's columns, and scrolls side to side with it.
void CResistanceRecordDlg::setUpChangeList() {
    CReportList* change = reportList(ids::kChangeList);
    for (const RecordColumn& column : recordColumns(RecordKind::Resistance)) {
        change->insertColumn(change->columnCount(), column.heading, column.widthPx);
    }
    change->widenColumnToText(kTimeColumn, kWidestTimeStamp);
    auto changeRows = std::make_unique<ChangeRows>();
    m_changeRows = changeRows.get();
    change->setRows(std::move(changeRows));
    change->fitRows(kChangeListRows);
    change->setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Fixed);
    QScrollBar* a = reportList(ids::kList)->horizontalScrollBar();
    QScrollBar* b = change->horizontalScrollBar();
    connect(a, &QScrollBar::valueChanged, b, &QScrollBar::setValue);
    connect(b, &QScrollBar::valueChanged, a, &QScrollBar::setValue);
}

void CResistanceRecordDlg::setUpChart() {
    auto* chart = new CCurveChartCtrl;
    if (subclassControl(ids::kTrendChart, chart)) {
        m_chart = chart;
        m_chart->followSize(kTrendMinimum);
        m_chart->chart().m_valueAxis = resistanceAxis();
        m_chart->setReadoutHandler([this](const auto& point) { showReadout(point); });
    } else {
        delete chart;
    }
}

// One mark per cell beside the trend chart; all shown at first.
void CResistanceRecordDlg::buildChannels() {
    CCheckTree* tree = checkTree(ids::kTrendChannels);
    tree->setRootIsDecorated(false);
    tree->setMaximumWidth(kChannelListWidthPx);
    for (int cell = 1; cell <= kRecordChannels; ++cell) {
        tree->setCheck(tree->insertItem(formatText(kTrendChannel, cell)), true);
    }
}

// Another window may have changed the baseline or the thresholds while this one was hidden.
void CResistanceRecordDlg::showEvent(QShowEvent* event) {
    CRangeRecordDlg::showEvent(event);
    if (m_judging) {
        showThresholds();
        showJudgement();
    }
}

void CResistanceRecordDlg::onRowsChanged() {
    showJudgement();
    if (isChecked(ids::kTrendView)) {
        showTrend(true);
    }
}

void CResistanceRecordDlg::OnSetBaseline() {
    const int row = reportList(ids::kList)->currentRow();
    const auto& records = rows().records();
    if (row < 0 || static_cast<size_t>(row) >= records.size()) {
        messageBox(kMsgChooseBaselineRecord);
        return;
    }
    judgeState().baseline = baselineOf(records[static_cast<size_t>(row)]);
    showJudgement();
}

void CResistanceRecordDlg::OnClearBaseline() {
    judgeState().baseline.reset();
    showJudgement();
}

// A refused threshold leaves both as they were, in the edits too.
void CResistanceRecordDlg::OnApplyThresholds() {
    const ThresholdCheck check =
        checkThresholds(windowText(ids::kWarnPercent), windowText(ids::kFailPercent));
    if (check.settings) {
        judgeState().trend = *check.settings;
    }
    showThresholds();
    showJudgement();
    if (!check.settings) {
        messageBox(check.error);
    }
}

void CResistanceRecordDlg::OnTrendView() {
    const bool trend = isChecked(ids::kTrendView);
    for (int id : {ids::kList, ids::kChangeNote, ids::kChangeList}) {
        showControl(id, !trend);
    }
    showControl(ids::kTrendChart, trend);
    showControl(ids::kTrendChannels, trend);
    showControl(ids::kTrendReadout, trend);
    if (trend) {
        showTrend(true);
    }
}

void CResistanceRecordDlg::OnRecordChosen() {
    showChange();
}

// A click on an item's box has already turned its mark; a click on its text turns it here.
void CResistanceRecordDlg::OnChannelClick() {
    CCheckTree* tree = checkTree(ids::kTrendChannels);
    QTreeWidgetItem* item = tree->currentItem();
    if (item == nullptr) {
        return;
    }
    if (!tree->clickTurnedMark(item)) {
        tree->setCheck(item, !tree->getCheck(item));
    }
    showChannels();
}

// Space on the focused item, or any other way a mark turns outside a handler.
void CResistanceRecordDlg::OnChannelCheckChange() {
    showChannels();
}

void CResistanceRecordDlg::showChannels() {
    if (m_chart == nullptr) {
        return;
    }
    CCheckTree* tree = checkTree(ids::kTrendChannels);
    const auto items = tree->children();
    std::array<int, kRecordChannels> flags{};
    for (size_t k = 0; k < flags.size() && k < items.size(); ++k) {
        flags[k] = tree->getCheck(items[k]) ? 1 : 0;
    }
    m_chart->chart().SetChannelVisibility(flags.data());
    m_chart->update();
}

void CResistanceRecordDlg::showJudgement() {
    setWindowText(ids::kBaselineNote, referenceNote(judgeState().baseline));
    enableControl(ids::kClearBaseline, judgeState().baseline.has_value());
    m_judging->judgeAgain();
    reportList(ids::kList)->refreshCells();
    showChange();
}

void CResistanceRecordDlg::showChange() {
    const int row = reportList(ids::kList)->currentRow();
    const auto& records = rows().records();
    std::optional<StoredRecord> record;
    if (row >= 0 && static_cast<size_t>(row) < records.size()) {
        record = records[static_cast<size_t>(row)];
    }
    CReportList* change = reportList(ids::kChangeList);
    change->deleteAllItems();
    m_changeRows->show(record);
    change->showNewRows();
    if (!record) {
        setWindowText(ids::kChangeNote, kChangeNoRecord);
        return;
    }
    std::string note = recordLabel(record->number) + "  " + referenceNote(judgeState().baseline);
    if (judgeState().baseline) {
        note += formatText("    %s", kChangeMarkNote);
    }
    setWindowText(ids::kChangeNote, note);
}

void CResistanceRecordDlg::showTrend(bool tell) {
    if (m_chart == nullptr) {
        return;
    }
    int untimed = 0;
    const auto tests = timedRecords(rows().records(), untimed);
    CCurveChart& chart = m_chart->chart();
    chart.clearSeries();
    chart.m_series = trendSeries(tests);
    chart.fitTimeWindow();
    m_chart->update();
    setWindowText(ids::kTrendReadout, "");
    if (tell && untimed > 0) {
        messageBox(formatText(kMsgTrendStampsInvalid, untimed));
    }
}

void CResistanceRecordDlg::showThresholds() {
    setWindowText(ids::kWarnPercent, thresholdText(judgeState().trend.warnPercent));
    setWindowText(ids::kFailPercent, thresholdText(judgeState().trend.failPercent));
}

void CResistanceRecordDlg::showReadout(const std::optional<CCurveChart::CurvePoint>& point) {
    if (!point) {
        setWindowText(ids::kTrendReadout, "");
        return;
    }
    const QString time = QDateTime::fromSecsSinceEpoch(point->time).toString("yyyy-MM-dd HH:mm");
    setWindowText(ids::kTrendReadout,
                  formatText(kTrendReadout, utf8(time).c_str(), point->series + 1,
                             static_cast<double>(point->value)));
}
