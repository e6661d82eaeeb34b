// Alarm evaluation of the simulated device: which of the six alarm kinds the live values
// show, given the limits and the per-channel masks.
#pragma once

#include <array>
#include <cstdint>

struct AlarmSettings {
    uint16_t tempLimits = 0;    // upper (high byte) / lower (low byte), sign and magnitude
    uint16_t voltLimits = 0;    // upper / lower, 0.1 V
    uint16_t irLimit = 0;       // 0.1 mOhm
    uint16_t currentLimit = 0;  // A
    std::array<uint16_t, 3> voltMask{};
    std::array<uint16_t, 3> irMask{};
    std::array<uint16_t, 3> tempMask{};
};

// Bit of each alarm kind in the alarm status and the relay enables.
enum AlarmBit : uint16_t {
    kTempUpperAlarm = 0x01,
    kTempLowerAlarm = 0x02,
    kVoltUpperAlarm = 0x04,
    kVoltLowerAlarm = 0x08,
    kIrUpperAlarm = 0x10,
    kCurrentUpperAlarm = 0x20,
};

// True when channel 1..40 is enabled in a three-register mask (bit n-1 of the 48-bit
// big-endian number).
bool channelEnabled(const std::array<uint16_t, 3>& mask, int channel);
// Temperature limit byte as whole degrees: bit 7 with a non-zero magnitude is negative.
int temperatureLimit(uint8_t byte);

// The alarm bits that `live` (the 121 live registers) raises.
uint16_t evaluateAlarms(const std::array<uint16_t, 121>& live, const AlarmSettings& settings);
