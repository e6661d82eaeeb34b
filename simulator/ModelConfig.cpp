// Configuration registers of the simulated device and the values each of them takes.
#include "ModelConfig.h"

#include <algorithm>

using namespace devreg;

namespace {

constexpr uint16_t kAllChannelsMask[3] = {0x00FF, 0xFFFF, 0xFFFF};

int offset(uint16_t reg) {
    return reg - kConfigFirst;
}

bool inBlock(uint16_t reg) {
    return reg >= kConfigFirst && reg <= kConfigLast;
}

// Calibration: type 1 (battery voltage) or 2 (current), range 1 or 2; a program with no
// selection sends 0 in either byte, which the device takes as "nothing to calibrate".
bool validCalibration(uint16_t value) {
    return (value >> 8) <= 2 && (value & 0xFF) <= 2;
}

}  // namespace

ModelConfig::ModelConfig(uint16_t deviceAddress, const DateTime& clockStart) : m_clock(clockStart) {
    m_block[offset(kIrInterval)] = 24;
    m_block[offset(kSensorRange)] = 200;
    m_block[offset(kDeviceAddress)] = deviceAddress;
    m_block[offset(kBaudRate)] = 9600;
    m_block[offset(kVersion)] = 110;
    m_block[offset(kRelayEnables)] = 0x003F;
    m_block[offset(kTempLimits)] = 0x2D94;  // 45 / -20 degC
    m_block[offset(kVoltLimits)] = 0x8C69;  // 14.0 / 10.5 V
    m_block[offset(kIrLimit)] = 100;
    m_block[offset(kCurrentLimit)] = 300;
    for (uint16_t mask : {kVoltMask, kIrMask, kTempMask}) {
        std::copy(std::begin(kAllChannelsMask), std::end(kAllChannelsMask),
                  m_block.begin() + offset(mask));
    }
    const DateTime moment{clockStart.year, clockStart.month, clockStart.day, 2, 0, 0};
    const DateRegisters momentRegs = encodeDateTime(moment);
    std::copy(momentRegs.begin(), momentRegs.end(), m_block.begin() + offset(kMoment));
}

bool ModelConfig::contains(uint16_t reg) {
    return inBlock(reg) || reg == kDischargeCurrent || reg == kCalibration;
}

bool ModelConfig::writable(uint16_t reg) {
    return contains(reg) && (reg < kDeviceAddress || reg > kVersion);
}

std::optional<uint16_t> ModelConfig::read(uint16_t reg) const {
    if (reg >= kClock && reg < kClock + 4) {
        return encodeDateTime(m_clock.now())[reg - kClock];
    }
    if (inBlock(reg)) {
        return m_block[offset(reg)];
    }
    if (reg == kDischargeCurrent) {
        return m_dischargeCurrent;
    }
    return std::nullopt;
}

ModbusError ModelConfig::write(uint16_t start, std::span<const uint16_t> values) {
    for (size_t i = 0; i < values.size(); ++i) {
        const size_t reg = start + i;
        if (reg > 0xFFFF || !writable(static_cast<uint16_t>(reg))) {
            return ModbusError::IllegalAddress;
        }
        const ModbusError error = checkValue(static_cast<uint16_t>(reg), values[i]);
        if (error != ModbusError::None) {
            return error;
        }
    }
    // Work on a copy so a rejected date leaves everything as it was.
    Block next = m_block;
    const DateRegisters clockNow = encodeDateTime(m_clock.now());
    std::copy(clockNow.begin(), clockNow.end(), next.begin() + offset(kClock));
    uint16_t discharge = m_dischargeCurrent;
    uint16_t calibration = m_calibration;
    for (size_t i = 0; i < values.size(); ++i) {
        const auto reg = static_cast<uint16_t>(start + i);
        if (inBlock(reg)) {
            next[offset(reg)] = values[i];
        } else if (reg == kDischargeCurrent) {
            discharge = values[i];
        } else {
            calibration = values[i];
        }
    }
    const bool setsClock = writesDate(start, values.size(), kClock);
    const std::optional<DateTime> clock = decodeDateTime(dateFrom(next, kClock));
    if (setsClock && !clock) {
        return ModbusError::IllegalValue;
    }
    if (writesDate(start, values.size(), kMoment) && !decodeDateTime(dateFrom(next, kMoment))) {
        return ModbusError::IllegalValue;
    }
    if (setsClock) {
        m_clock.set(*clock);
    }
    std::fill(next.begin() + offset(kClock), next.begin() + offset(kClock) + 4, 0);
    m_block = next;
    m_dischargeCurrent = discharge;
    m_calibration = calibration;
    return ModbusError::None;
}

ModbusError ModelConfig::checkValue(uint16_t reg, uint16_t value) {
    switch (reg) {
        case kRelayEnables:
        case kAlarmStatus:
            return value <= 0x3F ? ModbusError::None : ModbusError::IllegalValue;
        case kCurrentLimit:
            return value >= 1 && value <= 5000 ? ModbusError::None : ModbusError::IllegalValue;
        case kCalibration:
            return validCalibration(value) ? ModbusError::None : ModbusError::IllegalValue;
        default:
            return ModbusError::None;
    }
}

bool ModelConfig::writesDate(uint16_t start, size_t count, uint16_t first) {
    const size_t end = start + count;
    return start < first + 4u && end > first;
}

DateRegisters ModelConfig::dateFrom(const Block& block, uint16_t first) {
    DateRegisters regs{};
    std::copy_n(block.begin() + offset(first), 4, regs.begin());
    return regs;
}
