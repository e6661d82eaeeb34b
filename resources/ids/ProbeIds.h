// Control ids of the temperature probe page (template 140).
#pragma once

namespace idc::probe {
inline constexpr int kMaxProbes = 1002;
inline constexpr int kSetMax = 1047;
inline constexpr int kReadMax = 1125;
inline constexpr int kModeSemi = 1135;  // the first radio of the mode group
inline constexpr int kModeManual = 1136;
inline constexpr int kModeFull = 1137;
inline constexpr int kChannel = 1139;
// The eight identity bytes, left to right: the first is the first on the wire.
inline constexpr int kIdBytes[] = {1121, 1122, 1120, 1027, 1028, 1029, 1030, 1031};
inline constexpr int kRegister = 1123;
inline constexpr int kReadChannel = 1138;
inline constexpr int kReadId = 1124;
inline constexpr int kEraseChannel = 1141;
inline constexpr int kErase = 1140;
}  // namespace idc::probe
