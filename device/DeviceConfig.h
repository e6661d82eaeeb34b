// The device's identity, alarm limits, channel masks and alarm kind bits as typed values.
// Pure, no Qt; the register coding itself is in ParamCoding.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>

#include "DeviceRegisters.h"
#include "ParamCoding.h"

// Registers reg::kDeviceInfo.. (3): the device's own settings as it reports them.
struct DeviceIdentity {
    int address = 0;
    int baudRate = 0;  // as the device says, which need not be a rate the line offers
    int version = 0;   // hundredths: 110 is version 1.10
};
std::optional<DeviceIdentity> decodeIdentity(std::span<const uint16_t> regs);
// "Ver1.10", as the system parameter page shows it.
std::string versionText(int version);

// Registers reg::kLimits.. (4): the bounds beyond which the device raises its alarms.
struct AlarmLimits {
    int tempUpper = 0;  // whole degC
    int tempLower = 0;
    double voltUpper = 0;  // V
    double voltLower = 0;
    double resistanceUpper = 0;  // mOhm
    int currentUpper = 0;        // A
};
std::optional<AlarmLimits> decodeLimits(std::span<const uint16_t> regs);

// The alarm kinds in the bit order of the relay enables and the alarm status.
enum class AlarmKind { TempUpper, TempLower, VoltUpper, VoltLower, ResistanceUpper, CurrentUpper };
inline constexpr int kAlarmKindCount = 6;
constexpr bool hasAlarmKind(uint16_t bits, AlarmKind kind) {
    return ((bits >> static_cast<int>(kind)) & 1u) != 0;
}

// The three channel masks (registers reg::kVoltMask.. reg::kTempMask + 2, read as one
// block of 9 input registers) and the alarm status word.
struct AlarmMasks {
    ChannelSet voltage{};
    ChannelSet resistance{};
    ChannelSet temperature{};
};
inline constexpr uint16_t kMaskBlockCount = 3 * reg::kMaskCount;
std::optional<AlarmMasks> decodeMasks(std::span<const uint16_t> regs);
