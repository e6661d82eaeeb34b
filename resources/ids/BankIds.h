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
// The bank's judgement beside the lists.
inline constexpr int kReadLimits = 1100;
inline constexpr int kLimitsState = 1101;
inline constexpr int kVerdict = 1102;
inline constexpr int kBaseline = 1103;
inline constexpr int kSummaryList = 1104;
inline constexpr int kWorstList = 1105;
}  // namespace idc::bank
