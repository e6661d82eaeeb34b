// Register addresses of the simulated monitoring device and the exception codes it answers
// with. Shared by the model's parts so each address is spelled once.
#pragma once

#include <cstdint>

enum class ModbusError : uint8_t {
    None = 0,
    IllegalFunction = 1,
    IllegalAddress = 2,
    IllegalValue = 3,
    DeviceFailure = 4,
};

namespace devreg {

// Live measurements: 40 voltages, 40 resistances, the bank current, 40 temperatures.
inline constexpr uint16_t kLiveFirst = 0x0000;
inline constexpr uint16_t kLiveCount = 121;
inline constexpr uint16_t kResistanceFirst = 0x0028;
inline constexpr uint16_t kCurrent = 0x0050;
inline constexpr uint16_t kTemperatureFirst = 0x0051;

// Configuration block.
inline constexpr uint16_t kConfigFirst = 0x1000;
inline constexpr uint16_t kConfigLast = 0x101B;
inline constexpr uint16_t kIrInterval = 0x1000;
inline constexpr uint16_t kSensorRange = 0x1001;
inline constexpr uint16_t kDeviceAddress = 0x1002;
inline constexpr uint16_t kBaudRate = 0x1003;
inline constexpr uint16_t kVersion = 0x1004;
inline constexpr uint16_t kClock = 0x1005;   // 4 registers
inline constexpr uint16_t kMoment = 0x1009;  // 4 registers
inline constexpr uint16_t kRelayEnables = 0x100D;
inline constexpr uint16_t kTempLimits = 0x100E;
inline constexpr uint16_t kVoltLimits = 0x100F;
inline constexpr uint16_t kIrLimit = 0x1010;
inline constexpr uint16_t kCurrentLimit = 0x1011;
inline constexpr uint16_t kVoltMask = 0x1012;  // 3 registers each
inline constexpr uint16_t kIrMask = 0x1015;
inline constexpr uint16_t kTempMask = 0x1018;
inline constexpr uint16_t kAlarmStatus = 0x101B;
inline constexpr uint16_t kManualIrTest = 0x10A0;
inline constexpr uint16_t kDischargeCurrent = 0x10E0;
inline constexpr uint16_t kCalibration = 0x10E1;

// Temperature probe bus.
inline constexpr uint16_t kMaxProbes = 0x1100;
inline constexpr uint16_t kProbeRegister = 0x1101;
inline constexpr uint16_t kProbeChannel = 0x1102;
inline constexpr uint16_t kProbeIdentity = 0x1103;  // 4 registers
inline constexpr uint16_t kProbeErase = 0x1107;

// Record stores: count/delete at the base, positioning at base + 1.
inline constexpr uint16_t kVoltageRecords = 0x1200;
inline constexpr uint16_t kVoltageGroup = 0x1201;
inline constexpr uint16_t kVoltageGroupCount = 0x1202;
inline constexpr uint16_t kVoltageWindow = 0x1203;
inline constexpr uint16_t kResistanceRecords = 0x2000;
inline constexpr uint16_t kResistancePosition = 0x2001;
inline constexpr uint16_t kResistanceWindow = 0x2002;
inline constexpr uint16_t kAlarmRecords = 0x2100;
inline constexpr uint16_t kAlarmPosition = 0x2101;
inline constexpr uint16_t kAlarmWindow = 0x2102;

// Registers per record read through a window.
inline constexpr uint16_t kVoltageRecordLength = 44;
inline constexpr uint16_t kResistanceRecordLength = 44;
inline constexpr uint16_t kAlarmRecordLength = 45;

}  // namespace devreg
