// Internal-resistance records: the count, delete all, all records or a numbered range, one
// row each with the resistances of the 40 cells at one test; beside them a baseline test,
// each record's change against it, and the trend of every cell over the records read.
#pragma once

#include <memory>
#include <optional>

#include "CurveChart.h"
#include "RangeRecordDlg.h"

class CCurveChartCtrl;
class ChangeRows;
class ResistanceJudging;

class CResistanceRecordDlg : public CRangeRecordDlg {
  public:
    explicit CResistanceRecordDlg(QWidget* parent = nullptr);
    ~CResistanceRecordDlg() override;

    CCurveChartCtrl* trendChart() const { return m_chart; }

  protected:
    void showEvent(QShowEvent* event) override;

  private:
    bool onInitDialog() override;
    void onRowsChanged() override;

    void OnSetBaseline();
    void OnClearBaseline();
    void OnApplyThresholds();
    void OnTrendView();
    void OnRecordChosen();
    void OnChannelClick();
    void OnChannelCheckChange();

    // The baseline, the thresholds, the list's colours, the change and the trend anew.
    void showJudgement();
    void showChange();
    // With `tell`, records left out for their time are told.
    void showTrend(bool tell);
    void showThresholds();
    void setUpChangeList();
    void setUpChart();
    void buildChannels();
    // The cells marked in the channel list are the curves drawn.
    void showChannels();
    void showReadout(const std::optional<CCurveChart::CurvePoint>& point);

    std::unique_ptr<ResistanceJudging> m_judging;
    ChangeRows* m_changeRows = nullptr;  // owned by the change list
    CCurveChartCtrl* m_chart = nullptr;  // owned by the dialog, in the place of its static

    static const MessageEntry<CResistanceRecordDlg> kMessageMap[];
};
