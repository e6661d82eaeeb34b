// Control ids of the internal-resistance record dialog (template 152).
#pragma once

#include "RecordCommandIds.h"

namespace idc::resistance_records {
inline constexpr int kList = 1014;
inline constexpr int kCount = 1002;
inline constexpr int kReadCount = record_commands::kReadCount;
inline constexpr int kReadAll = record_commands::kReadAll;
inline constexpr int kDeleteAll = record_commands::kDeleteAll;
inline constexpr int kRangeStart = 1212;
inline constexpr int kRangeEnd = 1213;
inline constexpr int kReadRange = record_commands::kReadRange;
inline constexpr int kBack = record_commands::kBack;
// The baseline, the change thresholds and the trend view beside the records.
inline constexpr int kSetBaseline = 1301;
inline constexpr int kClearBaseline = 1302;
inline constexpr int kBaselineNote = 1303;
inline constexpr int kWarnPercent = 1304;
inline constexpr int kFailPercent = 1305;
inline constexpr int kApplyThresholds = 1306;
inline constexpr int kTrendView = 1307;
inline constexpr int kChangeNote = 1308;
inline constexpr int kChangeList = 1309;
inline constexpr int kTrendChart = 1310;
inline constexpr int kTrendReadout = 1311;
inline constexpr int kTrendChannels = 1312;
}  // namespace idc::resistance_records
