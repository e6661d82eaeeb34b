// The live measurement block of the device as the monitoring pages name it: where each kind
// of value starts.
#pragma once

#include <cstdint>

#include "DeviceRegisters.h"

inline constexpr uint16_t kVoltageRegister = reg::kVoltages;
inline constexpr uint16_t kResistanceRegister = reg::kResistances;
inline constexpr uint16_t kCurrentRegister = reg::kCurrent;
inline constexpr uint16_t kTemperatureRegister = reg::kTemperatures;
inline constexpr uint16_t kLiveRegisterCount = reg::kLiveBlockCount;
