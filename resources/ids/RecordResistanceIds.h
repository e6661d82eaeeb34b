// Control ids of the internal-resistance record dialog (template 152).
#pragma once

namespace idc::resistance_records {
inline constexpr int kList = 1014;
inline constexpr int kCount = 1002;
inline constexpr int kReadCount = 1047;
inline constexpr int kReadAll = 1019;
inline constexpr int kDeleteAll = 1126;
inline constexpr int kRangeStart = 1212;
inline constexpr int kRangeEnd = 1213;
inline constexpr int kReadRange = 1048;
inline constexpr int kBack = 1125;
}  // namespace idc::resistance_records
