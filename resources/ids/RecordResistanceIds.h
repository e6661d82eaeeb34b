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
}  // namespace idc::resistance_records
