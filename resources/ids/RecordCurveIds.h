// Control ids of the voltage curve record dialog (template 151).
#pragma once

namespace idc::curve_records {
inline constexpr int kChannelTree = 1215;
inline constexpr int kSelectAll = 1005;
inline constexpr int kChart = 1143;
inline constexpr int kReadCount = 1125;
inline constexpr int kCount = 1002;
inline constexpr int kDeleteAll = 1128;
inline constexpr int kGroup = 1221;
inline constexpr int kSetGroup = 1126;
inline constexpr int kGroupCurves = 1151;
inline constexpr int kReadGroup = 1127;
inline constexpr int kViewRecord = 1123;
inline constexpr int kBack = 1124;
inline constexpr int kReadout = 1218;
inline constexpr int kReadoutLabel = 1217;
}  // namespace idc::curve_records
