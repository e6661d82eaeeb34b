// The live measurement block of the device: where each kind of value starts.
#pragma once

#include <cstdint>

inline constexpr uint16_t kVoltageRegister = 0x0000;
inline constexpr uint16_t kResistanceRegister = 0x0028;
inline constexpr uint16_t kCurrentRegister = 0x0050;
inline constexpr uint16_t kTemperatureRegister = 0x0051;
inline constexpr uint16_t kLiveRegisterCount = 121;
inline constexpr int kCellCount = 40;
