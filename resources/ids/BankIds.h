// Control ids of the battery bank data page (template 133).
#pragma once

namespace idc::bank {
inline constexpr int kVoltageList = 1014;
inline constexpr int kCurrent = 1015;
inline constexpr int kStartStop = 1019;
inline constexpr int kOkCount = 1020;
inline constexpr int kFailCount = 1021;
inline constexpr int kResistanceList = 1044;
inline constexpr int kTemperatureList = 1045;
}  // namespace idc::bank
