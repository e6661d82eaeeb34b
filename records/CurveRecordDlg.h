// Voltage curve records: the curve count, the group the device hands out, the group's
// records drawn as 40 curves, one more record at a time, delete all, and the channel tree
// that switches curves on and off.
#pragma once

#include <cstdint>
#include <optional>

#include "CurveChart.h"
#include "RecordDecoding.h"
#include "RecordPage.h"

class CCurveChartCtrl;
class LongRead;
class QTreeWidgetItem;
class RegisterLink;

// The number of curves last read from the device, for the whole program.
extern int32_t g_curveCount;

class CCurveRecordDlg : public CRecordPage {
  public:
    explicit CCurveRecordDlg(QWidget* parent = nullptr);
    ~CCurveRecordDlg() override;

    // A group read stops once the exchange in flight is over; the curves read stay.
    void onLeave() override;
    CCurveChartCtrl* chartCtrl() const { return m_chart; }

  private:
    bool onInitDialog() override;
    void buildTree();

    void OnReadCurveCount();
    void OnSetCurveGroup();
    void OnReadGroupCurves();
    void OnDeleteAllCurves();
    void OnViewRecord();
    void OnTreeClick();
    void OnTreeCheckChange();
    void OnSelectAll();

    // Reads the group's records into the chart, the curves growing as they come.
    void readGroup(const RegisterLink& port, int records);
    // The next record of the group; nothing when the read or the record failed.
    std::optional<StoredRecord> readRecord(const RegisterLink& port);
    void addSample(const StoredRecord& record);
    void showCurves();
    void applyVisibility();
    // "导出CSV..." in the chart's menu: one row per sample time, one column per channel.
    void exportCsv();
    void showReadout(const std::optional<CCurveChart::CurvePoint>& point);

    CCurveChartCtrl* m_chart = nullptr;  // owned by the dialog, in the place of 1143
    QTreeWidgetItem* m_rootItem = nullptr;
    int m_badStamps = 0;  // records of the read under way whose time names no moment
    LongRead* m_read = nullptr;

    static const MessageEntry<CCurveRecordDlg> kMessageMap[];
};
