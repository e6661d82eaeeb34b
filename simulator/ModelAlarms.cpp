// Alarm evaluation: compares each enabled channel with the device's limits.
#include "ModelAlarms.h"

#include <cstddef>

namespace {

constexpr int kCells = 40;

int signedValue(uint16_t signMagnitude) {
    const int magnitude = signMagnitude & 0x7FFF;
    return (signMagnitude & 0x8000) != 0 ? -magnitude : magnitude;
}

uint16_t cellAlarms(const std::array<uint16_t, 121>& live, const AlarmSettings& s, int cell) {
    uint16_t bits = 0;
    const int channel = cell + 1;
    if (channelEnabled(s.voltMask, channel)) {
        const int volts = live[static_cast<size_t>(cell)];  // 0.001 V; limits are 0.1 V
        if (volts > (s.voltLimits >> 8) * 100) {
            bits |= kVoltUpperAlarm;
        }
        if (volts < (s.voltLimits & 0xFF) * 100) {
            bits |= kVoltLowerAlarm;
        }
    }
    if (channelEnabled(s.irMask, channel) &&
        live[static_cast<size_t>(kCells + cell)] > s.irLimit * 10) {  // 0.01 vs 0.1 mOhm
        bits |= kIrUpperAlarm;
    }
    if (channelEnabled(s.tempMask, channel)) {
        const int temp = signedValue(live[static_cast<size_t>(2 * kCells + 1 + cell)]);  // 0.1 degC
        if (temp > temperatureLimit(static_cast<uint8_t>(s.tempLimits >> 8)) * 10) {
            bits |= kTempUpperAlarm;
        }
        if (temp < temperatureLimit(static_cast<uint8_t>(s.tempLimits & 0xFF)) * 10) {
            bits |= kTempLowerAlarm;
        }
    }
    return bits;
}

}  // namespace

bool channelEnabled(const std::array<uint16_t, 3>& mask, int channel) {
    if (channel < 1 || channel > kCells) {
        return false;
    }
    const uint64_t bits = uint64_t{mask[0]} << 32 | uint64_t{mask[1]} << 16 | mask[2];
    return ((bits >> (channel - 1)) & 1u) != 0;
}

int temperatureLimit(uint8_t byte) {
    const int magnitude = byte & 0x7F;
    return byte > 0x80 ? -magnitude : magnitude;
}

uint16_t evaluateAlarms(const std::array<uint16_t, 121>& live, const AlarmSettings& settings) {
    uint16_t bits = 0;
    for (int cell = 0; cell < kCells; ++cell) {
        bits |= cellAlarms(live, settings, cell);
    }
    const int current = live[2 * kCells] & 0x7FFF;  // 0.1 A, either direction
    if (current > settings.currentLimit * 10) {
        bits |= kCurrentUpperAlarm;
    }
    return bits;
}
