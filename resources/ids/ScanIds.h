// Control ids of the device scan dialog (template 156), shown in the page slot by the
// communication page's "搜索设备".
#pragma once

namespace idc::scan {
inline constexpr int kStart = 1001;
inline constexpr int kCancel = 1002;
inline constexpr int kApply = 1003;
inline constexpr int kBack = 1004;
inline constexpr int kDone = 1005;      // probes done
inline constexpr int kTotal = 1006;     // probes in the scan
inline constexpr int kTrying = 1007;    // the rate and address tried next
inline constexpr int kTimeLeft = 1008;  // seconds, at most
inline constexpr int kStatus = 1009;    // how the scan stands or ended
inline constexpr int kNote = 1010;      // bytes at another rate
inline constexpr int kList = 1011;      // address, baud rate, version of what answered
}  // namespace idc::scan
