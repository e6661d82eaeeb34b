// Control ids of the voltage record dialog (template 155).
#pragma once

namespace idc::voltage_records {
inline constexpr int kList = 1014;
inline constexpr int kCount = 1002;
inline constexpr int kReadCount = 1047;
inline constexpr int kDeleteAll = 1126;
inline constexpr int kGroup = 1219;
inline constexpr int kGroupSize = 1220;
inline constexpr int kReadGroup = 1048;
inline constexpr int kBack = 1125;
}  // namespace idc::voltage_records
