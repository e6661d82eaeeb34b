// Control ids of the record query page (template 138).
#pragma once

namespace idc::record_query {
inline constexpr int kVoltageRecords = 1142;
inline constexpr int kResistanceRecords = 1123;
inline constexpr int kAlarmRecords = 1124;
inline constexpr int kCurveRecords = 1047;
}  // namespace idc::record_query
