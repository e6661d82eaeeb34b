// Every register of the monitoring device, named once for the pages, the command line and
// anything else that talks to it. All are 16-bit holding registers unless a name says input.
#pragma once

#include <cstdint>

inline constexpr int kCellCount = 40;

namespace reg {

// The live block, read whole (function 03) or a kind at a time: voltages, resistances, the
// bank current, temperatures.
inline constexpr uint16_t kLiveBlock = 0x0000;
inline constexpr uint16_t kLiveBlockCount = 121;
inline constexpr uint16_t kVoltages = 0x0000;      // 40 cells, 0.001 V
inline constexpr uint16_t kResistances = 0x0028;   // 40 cells, 0.01 mOhm
inline constexpr uint16_t kCurrent = 0x0050;       // sign and magnitude, 0.1 A
inline constexpr uint16_t kTemperatures = 0x0051;  // 40 cells, sign and magnitude, 0.1 degC

// Configuration.
inline constexpr uint16_t kIrInterval = 0x1000;   // hours between automatic resistance tests
inline constexpr uint16_t kSensorRange = 0x1001;  // current sensor range, 0.5 A
inline constexpr uint16_t kDeviceInfo = 0x1002;   // address, baud rate, version (read only)
inline constexpr uint16_t kDeviceInfoCount = 3;
inline constexpr uint16_t kClock = 0x1005;     // four registers of BCD date and time
inline constexpr uint16_t kIrMoment = 0x1009;  // input registers, the clock's layout
inline constexpr uint16_t kDateTimeCount = 4;
inline constexpr uint16_t kRelayEnables = 0x100D;  // alarm kind bits
inline constexpr uint16_t kTempLimits = 0x100E;    // upper and lower byte, sign and magnitude
inline constexpr uint16_t kVoltLimits = 0x100F;    // upper and lower byte, 0.1 V
inline constexpr uint16_t kIrLimit = 0x1010;       // 0.1 mOhm
inline constexpr uint16_t kCurrentLimit = 0x1011;  // whole amperes
inline constexpr uint16_t kLimits = kTempLimits;   // the four limits in one read
inline constexpr uint16_t kLimitsCount = 4;
// Channel masks: input registers, three each, channel n at bit n - 1 of 48.
inline constexpr uint16_t kVoltMask = 0x1012;
inline constexpr uint16_t kIrMask = 0x1015;
inline constexpr uint16_t kTempMask = 0x1018;
inline constexpr uint16_t kMaskCount = 3;
inline constexpr uint16_t kAlarmStatus = 0x101B;  // alarm kind bits

// Commands.
inline constexpr uint16_t kManualTest = 0x10A0;        // 0x01nn: cell nn, 0x01FF: all cells
inline constexpr uint16_t kDischargeCurrent = 0x10E0;  // 0.01 A
inline constexpr uint16_t kCalibration = 0x10E1;       // type (high byte), range (low byte)

// Temperature probes: the channel is written before the command that acts on it.
inline constexpr uint16_t kMaxProbes = 0x1100;
inline constexpr uint16_t kProbeRegistration = 0x1101;
inline constexpr uint16_t kProbeChannel = 0x1102;
inline constexpr uint16_t kProbeIdentity = 0x1103;  // four registers, eight bytes
inline constexpr uint16_t kProbeIdentityCount = 4;
inline constexpr uint16_t kProbeErase = 0x1107;

// Stored records. Each block's first register reads the count and, written 0, deletes all;
// the next one positions the window (a record number, or a voltage group), and every read
// of the window hands out the next record.
inline constexpr uint16_t kVoltageRecords = 0x1200;  // voltage records and curves
inline constexpr uint16_t kVoltageGroup = 0x1201;
inline constexpr uint16_t kVoltageGroupSize = 0x1202;
inline constexpr uint16_t kVoltageWindow = 0x1203;
inline constexpr uint16_t kResistanceRecords = 0x2000;
inline constexpr uint16_t kResistancePosition = 0x2001;
inline constexpr uint16_t kResistanceWindow = 0x2002;
inline constexpr uint16_t kAlarmRecords = 0x2100;
inline constexpr uint16_t kAlarmPosition = 0x2101;
inline constexpr uint16_t kAlarmWindow = 0x2102;

}  // namespace reg
