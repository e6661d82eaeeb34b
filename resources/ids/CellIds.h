// Control ids of the three cell pages: voltages (template 134), internal resistances (135)
// and temperatures (136). One template design serves all three, so they share most ids.
#pragma once

namespace idc::cell {
inline constexpr int kHiddenEdit1 = 1002;  // two hidden edits no code uses
inline constexpr int kHiddenEdit2 = 1003;
inline constexpr int kStartStop = 1016;
inline constexpr int kOkCount = 1021;
inline constexpr int kFailCount = 1022;
inline constexpr int kViewMode = 1023;  // shown on the voltage and resistance pages only
}  // namespace idc::cell

namespace idc::voltage {
inline constexpr int kLeftList = 1017;   // cells 1-20
inline constexpr int kRightList = 1015;  // cells 21-40
}  // namespace idc::voltage

namespace idc::temperature {
inline constexpr int kLeftList = 1017;
inline constexpr int kRightList = 1015;
}  // namespace idc::temperature

namespace idc::resistance {
inline constexpr int kLeftList = 1024;
inline constexpr int kRightList = 1025;
inline constexpr int kTestButton = 1123;  // the manual internal-resistance test
inline constexpr int kTestCell = 1146;
}  // namespace idc::resistance
