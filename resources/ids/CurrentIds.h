// Control ids of the total current page (template 137).
#pragma once

namespace idc::current {
inline constexpr int kValue = 1002;
inline constexpr int kRead = 1047;
// Three buttons that stay hidden; no code uses them.
inline constexpr int kButton2 = 1123;
inline constexpr int kButton3 = 1124;
inline constexpr int kCurveRecords = 1142;
}  // namespace idc::current
