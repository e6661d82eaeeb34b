// Control ids of the alarm record dialog (template 154).
#pragma once

namespace idc::alarm_records {
inline constexpr int kList = 1213;
inline constexpr int kCount = 1214;
inline constexpr int kReadCount = 1047;
inline constexpr int kReadAll = 1019;
inline constexpr int kDeleteAll = 1126;
inline constexpr int kRangeStart = 1212;
inline constexpr int kRangeEnd = 1215;
inline constexpr int kReadRange = 1048;
inline constexpr int kBack = 1125;
}  // namespace idc::alarm_records
