// Control ids of the voltage record dialog (template 155).
#pragma once

#include "RecordCommandIds.h"

namespace idc::voltage_records {
inline constexpr int kList = 1014;
inline constexpr int kCount = 1002;
inline constexpr int kReadCount = record_commands::kReadCount;
inline constexpr int kDeleteAll = record_commands::kDeleteAll;
inline constexpr int kGroup = 1219;
inline constexpr int kGroupSize = 1220;
inline constexpr int kReadGroup = 1048;
inline constexpr int kBack = record_commands::kBack;
}  // namespace idc::voltage_records
