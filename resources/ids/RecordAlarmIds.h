// Control ids of the alarm record dialog (template 154).
#pragma once

#include "RecordCommandIds.h"

namespace idc::alarm_records {
inline constexpr int kList = 1213;
inline constexpr int kCount = 1214;
inline constexpr int kReadCount = record_commands::kReadCount;
inline constexpr int kReadAll = record_commands::kReadAll;
inline constexpr int kDeleteAll = record_commands::kDeleteAll;
inline constexpr int kRangeStart = 1212;
inline constexpr int kRangeEnd = 1215;
inline constexpr int kReadRange = record_commands::kReadRange;
inline constexpr int kBack = record_commands::kBack;
}  // namespace idc::alarm_records
