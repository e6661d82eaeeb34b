// Voltage curve record dialog: register 0x1200 counts the curves (and, written 0, deletes
// them), 0x1201 chooses the group, 0x1202 holds the group's size and 0x1203 hands out its
// records one by one, each becoming one sample of all 40 curves.
#include "CurveRecordDlg.h"

#include <QDateTime>
#include <algorithm>
#include <array>

#include "CheckTree.h"
#include "CurveChartCtrl.h"
#include "CurveCsv.h"
#include "DevicePort.h"
#include "DeviceRegisters.h"
#include "LongRead.h"
#include "RecordCsv.h"
#include "RegisterCoding.h"
#include "Strings.h"
#include "Templates.h"
#include "TreeBitmap.h"
#include "Utf8.h"
#include "ids/RecordCurveIds.h"

namespace ids = idc::curve_records;
using D = CCurveRecordDlg;

const MessageEntry<D> D::kMessageMap[] = {
    {ids::kReadCount, Notify::Clicked, &D::OnReadCurveCount},
    {ids::kSetGroup, Notify::Clicked, &D::OnSetCurveGroup},
    {ids::kReadGroup, Notify::Clicked, &D::OnReadGroupCurves},
    {ids::kDeleteAll, Notify::Clicked, &D::OnDeleteAllCurves},
    {ids::kViewRecord, Notify::Clicked, &D::OnViewRecord},
    {ids::kChannelTree, Notify::Clicked, &D::OnTreeClick},
    {ids::kChannelTree, Notify::CheckChange, &D::OnTreeCheckChange},
    {ids::kSelectAll, Notify::Clicked, &D::OnSelectAll},
    {ids::kBack, Notify::Clicked, &D::OnBack},
};

int32_t g_curveCount = 0;

namespace {

constexpr uint16_t kCountRegister = reg::kVoltageRecords;
constexpr uint16_t kGroupRegister = reg::kVoltageGroup;
constexpr uint16_t kGroupSizeRegister = reg::kVoltageGroupSize;
constexpr uint16_t kWindowRegister = reg::kVoltageWindow;
constexpr uint32_t kTimeoutMs = 1000;
constexpr uint32_t kGroupSizeTimeoutMs = 500;
constexpr int kMaxGroup = 255;  // the device takes the group in the low byte
constexpr double kVoltsPerCount = 0.01;

}  // namespace

CCurveRecordDlg::CCurveRecordDlg(QWidget* parent)
    : CRecordPage(dialogTemplate(IDD_CURVE_RECORDS), parent) {
    useMessageMap<D>(kMessageMap);
}

CCurveRecordDlg::~CCurveRecordDlg() = default;

bool CCurveRecordDlg::onInitDialog() {
    auto* chart = new CCurveChartCtrl;
    if (subclassControl(ids::kChart, chart)) {
        m_chart = chart;
        m_chart->setReadoutHandler([this](const auto& point) { showReadout(point); });
        m_chart->addContextAction(kExportCsvCaption,
                                  [this] { runHandler([this] { exportCsv(); }); });
    } else {
        delete chart;
    }
    buildTree();
    return true;
}

// The root is no channel: its box shows but takes no clicks.
void CCurveRecordDlg::buildTree() {
    CCheckTree* tree = checkTree(ids::kChannelTree);
    const QIcon icon = treeItemIcon();
    m_rootItem = tree->insertItem(kCurveTreeRoot);
    m_rootItem->setIcon(0, icon);
    m_rootItem->setFlags(m_rootItem->flags() & ~Qt::ItemIsUserCheckable);
    for (int channel = 1; channel <= kRecordChannels; ++channel) {
        QTreeWidgetItem* item =
            tree->insertItem(formatText(kCurveTreeChannel, channel), m_rootItem);
        item->setIcon(0, icon);
        tree->setCheck(item, true);
    }
    m_rootItem->setExpanded(true);
}

void CCurveRecordDlg::onLeave() {
    if (m_read != nullptr) {
        m_read->requestStop();
    }
}

void CCurveRecordDlg::OnReadCurveCount() {
    PortSession port;
    if (!port) {
        return;
    }
    const auto count = port.readHolding(kCountRegister, 1, kTimeoutMs);
    if (!count) {
        messageBox(kMsgReadFailed);
        return;
    }
    g_curveCount = (*count)[0];
    setWindowText(ids::kCount, formatText("%d", g_curveCount));
    enableControl(ids::kGroup, true);
    resetContent(ids::kGroup);
    for (int group = 1; group <= g_curveCount; ++group) {
        addString(ids::kGroup, formatText("%d", group));
    }
    setCurSel(ids::kGroup, 0);
    enableControl(ids::kSetGroup, true);
}

// With nothing to choose from the group sent is 0, as the device has always been told.
void CCurveRecordDlg::OnSetCurveGroup() {
    const int group = curSel(ids::kGroup) + 1;
    if (group > kMaxGroup) {  // the low byte alone would name another group
        messageBox(formatText(kMsgCurveGroupOutOfRange, group));
        return;
    }
    PortSession port;
    if (!port) {
        return;
    }
    const bool set = port.writeRegister(kGroupRegister, static_cast<uint16_t>(group), kTimeoutMs);
    messageBox(set ? kMsgSetOk : kMsgSetFailed);
}

// The chosen group is written first: the size and the records that follow are then the
// group's own, whatever group the device was on, and its records start from the first.
void CCurveRecordDlg::OnReadGroupCurves() {
    const int group = std::max(curSel(ids::kGroup) + 1, 1);
    if (group > kMaxGroup) {
        messageBox(formatText(kMsgCurveGroupOutOfRange, group));
        return;
    }
    PortSession port;
    if (!port) {
        return;
    }
    if (!port.writeRegister(kGroupRegister, static_cast<uint16_t>(group), kTimeoutMs)) {
        messageBox(kMsgReadFailed);
        return;
    }
    const auto size = port.readHolding(kGroupSizeRegister, 1, kGroupSizeTimeoutMs);
    if (!size) {
        messageBox(kGroupSizeFailed);
        return;
    }
    const int records = (*size)[0];
    if (records == 0) {  // an empty group shows as empty, not as the group before it
        m_chart->chart().clearSeries();
        showCurves();
        return;
    }
    readGroup(port, records);
}

// The curves shown stay until the group's first record has come: a read that fails at once
// changes nothing on the dialog.
void CCurveRecordDlg::readGroup(const RegisterLink& port, int records) {
    m_badStamps = 0;
    bool cleared = false;
    bool failed = false;
    {
        LongRead read(
            this,
            [this, &cleared] {
                if (cleared) {
                    showCurves();
                }
            },
            kCurveRecordsWhat, records, recordReplyLength(RecordKind::Voltage));
        ReadInProgress inProgress(m_read, read);
        for (int i = 0; i < records && !read.stopRequested() && !failed; ++i) {
            const auto record = readRecord(port);
            failed = !record;
            if (record && !cleared) {
                m_chart->chart().clearSeries();
                cleared = true;
            }
            if (record) {
                addSample(*record);
            }
            read.recordDone();
        }
    }  // the box goes and the last samples show before any message
    if (failed) {
        messageBox(kMsgReadFailed);
    }
    if (m_badStamps > 0) {
        messageBox(formatText(kMsgCurveStampsInvalid, m_badStamps));
    }
}

// No confirmation is asked, as with every record dialog; the count shown stays until read.
void CCurveRecordDlg::OnDeleteAllCurves() {
    PortSession port;
    if (!port) {
        return;
    }
    const bool deleted = port.writeRegister(kCountRegister, 0, kTimeoutMs);
    messageBox(deleted ? kMsgEraseOk : kMsgEraseFailed);
}

void CCurveRecordDlg::OnViewRecord() {
    PortSession port;
    if (!port) {
        return;
    }
    m_badStamps = 0;
    const auto record = readRecord(port);
    if (!record) {
        messageBox(kMsgCurveViewFailed);
        return;
    }
    addSample(*record);
    showCurves();
    if (m_badStamps > 0) {
        messageBox(formatText(kMsgCurveStampsInvalid, m_badStamps));
    }
}

std::optional<StoredRecord> CCurveRecordDlg::readRecord(const RegisterLink& port) {
    const RecordKind kind = RecordKind::Voltage;
    const auto bytes =
        port.readHoldingBytes(kWindowRegister, recordRegisterCount(kind), kTimeoutMs);
    return bytes ? decodeRecord(kind, *bytes, 0) : std::nullopt;
}

// A record whose time stamp names no moment cannot be placed on the time axis: it is
// counted and told, not drawn at some made-up time.
void CCurveRecordDlg::addSample(const StoredRecord& record) {
    const auto time = stampTime(record.stamp);
    if (!time) {
        ++m_badStamps;
        return;
    }
    std::array<float, kRecordChannels> volts{};
    for (size_t k = 0; k < volts.size(); ++k) {
        volts[k] = static_cast<float>(record.channels[k] * kVoltsPerCount);
    }
    m_chart->chart().addSample(*time, volts);
}

void CCurveRecordDlg::showCurves() {
    CCurveChart& chart = m_chart->chart();
    chart.fitTimeWindow();
    setWindowText(ids::kGroupCurves, formatText("%d", chart.sampleCount()));
    const bool any = chart.sampleCount() > 0;
    showControl(ids::kReadoutLabel, any);
    showControl(ids::kReadout, any);
    m_chart->update();
}

// A click on an item's box has already turned its mark; a click on its text turns it here.
void CCurveRecordDlg::OnTreeClick() {
    CCheckTree* tree = checkTree(ids::kChannelTree);
    QTreeWidgetItem* item = tree->currentItem();
    if (item == nullptr || item->parent() != m_rootItem) {  // the root is no channel
        return;
    }
    if (!tree->clickTurnedMark(item)) {
        tree->setCheck(item, !tree->getCheck(item));
    }
    applyVisibility();
}

// Space on the focused item, or any other way a mark turns outside a handler.
void CCurveRecordDlg::OnTreeCheckChange() {
    applyVisibility();
}

void CCurveRecordDlg::OnSelectAll() {
    CCheckTree* tree = checkTree(ids::kChannelTree);
    const bool all = isChecked(ids::kSelectAll);
    for (QTreeWidgetItem* item : tree->children(m_rootItem)) {
        tree->setCheck(item, all);
    }
    applyVisibility();
}

void CCurveRecordDlg::applyVisibility() {
    CCheckTree* tree = checkTree(ids::kChannelTree);
    const auto items = tree->children(m_rootItem);
    std::array<int, kRecordChannels> flags{};
    for (size_t k = 0; k < flags.size() && k < items.size(); ++k) {
        flags[k] = tree->getCheck(items[k]) ? 1 : 0;
    }
    m_chart->chart().SetChannelVisibility(flags.data());
    m_chart->update();
}

void CCurveRecordDlg::exportCsv() {
    const CCurveChart& chart = m_chart->chart();
    exportCsvAsUser(*this, chart.sampleCount(), kCurveRecordsWhat,
                    [&chart](const std::string& path, std::string& error) {
                        return exportCurvesCsv(chart, path, error);
                    });
}

void CCurveRecordDlg::showReadout(const std::optional<CCurveChart::CurvePoint>& point) {
    if (!point) {
        setWindowText(ids::kReadout, "");
        return;
    }
    const QString time = QDateTime::fromSecsSinceEpoch(point->time).toString("yyyy-MM-dd HH:mm:ss");
    setWindowText(ids::kReadout, formatText(kCurveReadout, utf8(time).c_str(), point->series + 1,
                                            static_cast<double>(point->value)));
}
