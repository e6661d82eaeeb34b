// Control ids of the communication settings page (template 130).
#pragma once

namespace idc::comm {
inline constexpr int kSettingsBox = 1001;
inline constexpr int kAddress = 1002;
inline constexpr int kPort = 1003;
inline constexpr int kBaud = 1004;
// Beside the port list: the device path the chosen port opens.
inline constexpr int kPortPath = 1020;
// Opens the device scan in the page slot.
inline constexpr int kSearch = 1021;
}  // namespace idc::comm
