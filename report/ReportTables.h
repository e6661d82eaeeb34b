// The report's tables, each from the input and its judging done once (internal to the
// report model).
#pragma once

#include <optional>

#include "DeviceJudging.h"
#include "ReportModel.h"

namespace report::detail {

// The reading judged once for every table.
struct Judged {
    std::optional<analysis::BankValues> values;
    std::optional<analysis::Limits> limits;
    std::optional<analysis::BankReport> bank;
    std::optional<analysis::ChangeReport> change;
    bool changeMeasured = false;  // some cell has a change in %
    int unmeasured = 0;           // watched channels without a value
    std::optional<AlarmMasks> masks;
};
Judged judge(const ReportInput& input);

ReportTable summaryTable(const ReportInput& input, const Judged& judged);
ReportTable limitsTable(const ReportInput& input, const Judged& judged);
ReportTable cellsTable(const ReportInput& input, const Judged& judged);
ReportTable worstTable(const Judged& judged);
ReportTable trendTable(const ReportInput& input);
TrendChart trendChart(const ReportInput& input, const Judged& judged);

}  // namespace report::detail
